#include "terrain/pixel_effects.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "numbers.h"
#include "platform/random.h"

namespace vorlan {

namespace {

// The channels of an area, indexed (channel, x, y) for x 0..w and y 0..h. Column w and row h
// are never read from the surface and stay black, which the effects rely on at the borders.
class PixelArray {
 public:
  void Read(const Surface& s, int w, int h) {
    w_ = w < 0 ? 0 : w;
    h_ = h < 0 ? 0 : h;
    cells_.assign(static_cast<size_t>(w_ + 1) * (h_ + 1) * 3, 0);
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        // The colour is split as a signed number so that the invalid colour of a point
        // outside the surface reads as red -1, green -1, blue 255.
        const int32_t c = static_cast<int32_t>(GetPixel(s, x, y));
        int16_t* p = At(x, y);
        p[0] = static_cast<int16_t>(c % 256);
        p[1] = static_cast<int16_t>((static_cast<int32_t>(c & ~0xFF) / 256) % 256);
        p[2] = static_cast<int16_t>((c & 0xFF0000) / 65536);
      }
    }
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x <= w_ && y <= h_; }
  const int16_t* At(int x, int y) const {
    return cells_.data() + (static_cast<size_t>(y) * (w_ + 1) + x) * 3;
  }
  int16_t* At(int x, int y) { return cells_.data() + (static_cast<size_t>(y) * (w_ + 1) + x) * 3; }

 private:
  int w_ = 0, h_ = 0;
  std::vector<int16_t> cells_;
};

int Clamp255(double v) {
  if (!(v >= 0)) return 0;
  if (v > 255) return 255;
  return static_cast<int>(v);
}

void Put(Surface& dst, int x, int y, double r, double g, double b) {
  SetPixelV(dst, x, y, Rgb(Clamp255(r), Clamp255(g), Clamp255(b)));
}

}  // namespace

// Grains a picture: every pixel takes the colour of a source pixel up to spread - 2 (at least
// 0, at most 2 for spread 2) to its right and below. The caller reseeds rng beforehand.
void Diffuse(Random& rng, const Surface& src, int w, int h, Surface& dst, int spread) {
  PixelArray px;
  px.Read(src, w, h);
  int16_t red = 0, green = 0, blue = 0;
  for (int y = 0; y <= h; ++y) {
    for (int x = 0; x <= w; ++x) {
      // Single precision throughout, dx drawn before dy.
      const float dx = std::fabs(static_cast<float>(spread) * static_cast<float>(rng.Rnd()) - 2.0f);
      const float dy = std::fabs(static_cast<float>(spread) * static_cast<float>(rng.Rnd()) - 2.0f);
      const double sx = Nearest(static_cast<float>(static_cast<float>(x) + dx));
      const double sy = Nearest(static_cast<float>(static_cast<float>(y) + dy));
      // Outside the area the previous pixel's colour carries over.
      if (sx >= 0 && sy >= 0 && px.Inside(static_cast<int>(sx), static_cast<int>(sy))) {
        const int16_t* p = px.At(static_cast<int>(sx), static_cast<int>(sy));
        red = p[0];
        green = p[1];
        blue = p[2];
      }
      Put(dst, x, y, red, green, blue);
    }
  }
}

// Box average over (2 radius + 1) squared samples; missing neighbours count as black.
void Blur(const Surface& src, int w, int h, Surface& dst, int radius) {
  PixelArray px;
  px.Read(src, w, h);
  if (radius < 0) return;  // an empty window has nothing to average
  const int n = (2 * radius + 1) * (2 * radius + 1);
  for (int y = 0; y <= h; ++y) {
    for (int x = 0; x <= w; ++x) {
      int sr = 0, sg = 0, sb = 0;
      const bool interior = x - radius >= 0 && y - radius >= 0 && x + radius <= w && y + radius <= h;
      for (int i = -radius; i <= radius; ++i) {
        for (int j = -radius; j <= radius; ++j) {
          if (!interior && !px.Inside(x + i, y + j)) continue;
          const int16_t* p = px.At(x + i, y + j);
          sr += p[0];
          sg += p[1];
          sb += p[2];
        }
      }
      Put(dst, x, y, Nearest(static_cast<double>(sr) / n), Nearest(static_cast<double>(sg) / n),
          Nearest(static_cast<double>(sb) / n));
    }
  }
}

// Bilinear stretch of (0, 0)-(sw, sh) onto (0, 0)-(tw, th), one source pixel's block at a time.
void ScaleUp(const Surface& src, int sw, int sh, Surface& dst, int tw, int th) {
  if (sw <= 0 || sh <= 0) return;
  PixelArray px;
  px.Read(src, sw, sh);
  int yEnd = 0;
  for (int sy = 0; sy < sh; ++sy) {
    const int yStart = yEnd;
    yEnd = static_cast<int>(Nearest(static_cast<double>(th) / sh * (sy + 1)));
    const int h = yEnd - yStart;
    int xEnd = 0;
    for (int sx = 0; sx < sw; ++sx) {
      const int xStart = xEnd;
      xEnd = static_cast<int>(Nearest(static_cast<double>(tw) / sw * (sx + 1)));
      const int w = xEnd - xStart;
      const int16_t* c1 = px.At(sx, sy);
      const int16_t* c2 = px.At(sx + 1, sy);
      const int16_t* c3 = px.At(sx, sy + 1);
      const int16_t* c4 = px.At(sx + 1, sy + 1);
      for (int r = 0; r < h; ++r) {
        double left[3], right[3];
        for (int ch = 0; ch < 3; ++ch) {
          left[ch] = Nearest(c1[ch] + static_cast<double>(c3[ch] - c1[ch]) / h * r);
          right[ch] = Nearest(c2[ch] + static_cast<double>(c4[ch] - c2[ch]) / h * r);
        }
        for (int k = 0; k < w; ++k) {
          double v[3];
          for (int ch = 0; ch < 3; ++ch) {
            v[ch] = Nearest(std::fabs(left[ch] + (right[ch] - left[ch]) / w * k));
          }
          Put(dst, xStart + k, yStart + r, v[0], v[1], v[2]);
        }
      }
    }
  }
}

}  // namespace vorlan
