// Pixel surfaces and the drawing operations of the game on plain 32-bit pixel arrays. These run
// every frame (terrain copies, sprite masks, the half-transparent fades), so the loops work on
// row pointers and never allocate in the steady state.
#include "platform/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "text.h"

namespace vorlan {

void Surface::Resize(int w, int h, Color fill) {
  if (w <= 0 || h <= 0) w = h = 0;
  w_ = w;
  h_ = h;
  pixels_.assign(static_cast<size_t>(w_) * h_, fill);
}

void Surface::ResizeKeep(int w, int h, Color fill) {
  if (w <= 0 || h <= 0) w = h = 0;
  if (w == w_ && h == h_) return;
  std::vector<Color> next(static_cast<size_t>(w) * h, fill);
  int cw = std::min(w, w_), ch = std::min(h, h_);
  for (int y = 0; y < ch; ++y)
    std::memcpy(next.data() + static_cast<size_t>(y) * w, Row(y), sizeof(Color) * cw);
  pixels_.swap(next);
  w_ = w;
  h_ = h;
}

void Surface::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), c); }

namespace {

// A reusable row for copies whose source and destination overlap on one surface.
std::vector<Color>& ScratchRow(size_t n) {
  thread_local std::vector<Color> row;
  if (row.size() < n) row.resize(n);
  return row;
}

// Clips a same-size copy of w x h from (sx, sy) to (x, y) against both surfaces. False when
// nothing is left.
bool ClipCopy(int dw, int dh, int sw, int sh, int& x, int& y, int& w, int& h, int& sx, int& sy) {
  if (w <= 0 || h <= 0) return false;
  if (sx < 0) {
    x -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    y -= sy;
    h += sy;
    sy = 0;
  }
  if (x < 0) {
    sx -= x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    sy -= y;
    h += y;
    y = 0;
  }
  // Widths are compared in 64 bits: huge sizes from damaged callers must not overflow.
  long long maxW = std::min<long long>(static_cast<long long>(sw) - sx, static_cast<long long>(dw) - x);
  long long maxH = std::min<long long>(static_cast<long long>(sh) - sy, static_cast<long long>(dh) - y);
  if (w > maxW) w = static_cast<int>(std::max<long long>(maxW, 0));
  if (h > maxH) h = static_cast<int>(std::max<long long>(maxH, 0));
  return w > 0 && h > 0;
}

// (s x a + d x (255 - a)) / 255 rounded to nearest, exact for every byte pair.
inline uint32_t Mix255(uint32_t s, uint32_t d, uint32_t a) {
  uint32_t t = s * a + d * (255 - a) + 128;
  return (t + (t >> 8)) >> 8;
}

// Red and blue travel together in two 16-bit lanes of one word; each lane's sum stays below
// 65536, so the packed result is exactly the per-channel one.
inline Color Blend(Color s, Color d, uint32_t a) {
  uint32_t rb = (s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * (255 - a) + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  return rb | (Mix255((s >> 8) & 255, (d >> 8) & 255, a) << 8);
}

}  // namespace

void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  if (dst.Empty() || src.Empty()) return;
  if (!ClipCopy(dst.Width(), dst.Height(), src.Width(), src.Height(), x, y, w, h, sx, sy)) return;
  const bool same = &dst == &src;
  // On one surface, walk rows from the far end when the destination lies below the source so
  // every row is read before it is overwritten.
  const bool upward = same && y > sy;
  for (int i = 0; i < h; ++i) {
    int r = upward ? h - 1 - i : i;
    Color* d = dst.Row(y + r) + x;
    const Color* s = src.Row(sy + r) + sx;
    if (rop == Rop::SrcCopy) {
      std::memmove(d, s, sizeof(Color) * w);
      continue;
    }
    if (same && y + r == sy + r && std::abs(x - sx) < w) {
      auto& tmp = ScratchRow(static_cast<size_t>(w));
      std::memcpy(tmp.data(), s, sizeof(Color) * w);
      s = tmp.data();
    }
    if (rop == Rop::SrcAnd) {
      for (int k = 0; k < w; ++k) d[k] &= s[k];
    } else if (rop == Rop::SrcPaint) {
      for (int k = 0; k < w; ++k) d[k] |= s[k];
    } else {
      std::memmove(d, s, sizeof(Color) * w);
    }
  }
}

void SetPixelV(Surface& s, int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return;
  s.Row(y)[x] = c & 0xFFFFFFu;
}

Color GetPixel(const Surface& s, int x, int y) {
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return kClrInvalid;
  return s.Row(y)[x];
}

void MoveToEx(Surface& s, int x, int y) {
  s.penX = x;
  s.penY = y;
}

void LineTo(Surface& s, int x, int y) {
  int x0 = s.penX, y0 = s.penY;
  s.penX = x;
  s.penY = y;
  const Color c = s.foreColor & 0xFFFFFFu;
  const int W = s.Width(), H = s.Height();
  // Bresenham from the current position; the end point itself stays undrawn.
  long long dx = std::llabs(static_cast<long long>(x) - x0), dy = -std::llabs(static_cast<long long>(y) - y0);
  int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
  long long err = dx + dy;
  long long steps = std::max(dx, -dy);
  // Positions come from the cursor and the field; a far-away point must not loop for long.
  if (steps > 1 << 16) return;
  for (long long n = 0; n < steps; ++n) {
    if (x0 >= 0 && y0 >= 0 && x0 < W && y0 < H) s.Row(y0)[x0] = c;
    long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += stepY;
    }
  }
}

int AlphaByte(int percent) {
  // nearest(256 x p / 100), halves to even; a byte cannot hold more than 255.
  if (percent <= 0) return 0;
  long long q = 256LL * percent, whole = q / 100, rest = q % 100;
  if (rest > 50 || (rest == 50 && (whole & 1))) ++whole;
  return static_cast<int>(std::min<long long>(whole, 255));
}

void AlphaBlendCopy(const Surface& src, int x, int y, int w, int h, Surface& dst, int sx, int sy, int sw,
                    int sh, int percent) {
  const uint32_t a = static_cast<uint32_t>(AlphaByte(percent));
  if (a == 0 || w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || src.Empty() || dst.Empty()) return;
  const bool same = &src == &dst;
  if (w == sw && h == sh && !same) {
    if (!ClipCopy(dst.Width(), dst.Height(), src.Width(), src.Height(), x, y, w, h, sx, sy)) return;
    for (int r = 0; r < h; ++r) {
      Color* d = dst.Row(y + r) + x;
      const Color* s = src.Row(sy + r) + sx;
      for (int k = 0; k < w; ++k) d[k] = Blend(s[k], d[k], a);
    }
    return;
  }
  // Stretched (or blended onto itself): every destination pixel samples its source pixel,
  // nearest neighbour; destination pixels whose source lies outside the picture stay as they are.
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = static_cast<int>(std::min<long long>(static_cast<long long>(x) + w, dst.Width()));
  int y1 = static_cast<int>(std::min<long long>(static_cast<long long>(y) + h, dst.Height()));
  if (x0 >= x1 || y0 >= y1) return;
  const Surface* from = &src;
  thread_local Surface copy;
  if (same) {
    copy = src;
    from = &copy;
  }
  for (int dy = y0; dy < y1; ++dy) {
    long long py = sy + (static_cast<long long>(dy - y) * sh) / h;
    if (py < 0 || py >= from->Height()) continue;
    const Color* s = from->Row(static_cast<int>(py));
    Color* d = dst.Row(dy);
    for (int dx = x0; dx < x1; ++dx) {
      long long px = sx + (static_cast<long long>(dx - x) * sw) / w;
      if (px < 0 || px >= from->Width()) continue;
      d[dx] = Blend(s[px], d[dx], a);
    }
  }
}

void TextOutA(Surface& s, const TextRenderer& fonts, int x, int y, std::string_view text, int count) {
  if (count <= 0 || s.Empty()) return;
  if (static_cast<size_t>(count) < text.size()) text = text.substr(0, static_cast<size_t>(count));
  thread_local std::string utf8;  // reused, so drawing text every frame does not allocate
  Cp1252ToUtf8Into(text, utf8);
  const TextMask& m = fonts.RenderCached(utf8, s.fontFace, s.fontSize, s.fontBold);
  if (m.width <= 0 || m.height <= 0 || m.coverage.size() < static_cast<size_t>(m.width) * m.height) return;
  const int W = s.Width(), H = s.Height();
  int c0 = std::max(0, -x), r0 = std::max(0, -y);
  int c1 = static_cast<int>(std::min<long long>(m.width, static_cast<long long>(W) - x));
  int r1 = static_cast<int>(std::min<long long>(m.height, static_cast<long long>(H) - y));
  const Color fg = s.foreColor & 0xFFFFFFu, bg = s.backColor & 0xFFFFFFu;
  for (int r = r0; r < r1; ++r) {
    Color* d = s.Row(y + r) + x;
    const uint8_t* cov = m.coverage.data() + static_cast<size_t>(r) * m.width;
    for (int c = c0; c < c1; ++c) {
      uint32_t a = cov[c];
      Color under = s.transparentText ? d[c] : bg;
      d[c] = a == 0 ? under : a == 255 ? fg : Blend(fg, under, a);
    }
  }
}

}  // namespace vorlan
