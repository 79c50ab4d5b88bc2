// In-memory 32-bit pixel surfaces with the drawing operations of the game (block copies with
// raster operations, pixels, text, lines, constant-alpha blending). Pure code, no SDL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// A colour as a GDI COLORREF: 0x00BBGGRR (red in the low byte).
using Color = uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 255); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 255); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 255); }
// GetPixel's answer for a point outside the surface.
constexpr Color kClrInvalid = 0xFFFFFFFFu;

// Raster operations of BitBlt, with their GDI codes.
enum class Rop : uint32_t { SrcCopy = 0x00CC0020, SrcAnd = 0x008800C6, SrcPaint = 0x00EE0086 };

// Which face TextOutA draws with: Field text is proportional, StatusField text is monospaced.
enum class FontFace { Sans, Mono };

class TextRenderer;

class Surface {
 public:
  Surface() = default;
  Surface(int w, int h, Color fill = 0) { Resize(w, h, fill); }

  // Resizes, keeping nothing: every pixel becomes fill.
  void Resize(int w, int h, Color fill = 0);
  // Resizes keeping the overlapping pixels; new area becomes fill.
  void ResizeKeep(int w, int h, Color fill = 0);
  void Fill(Color c);
  void Clear() {
    pixels_.clear();
    w_ = h_ = 0;
  }
  bool Empty() const { return w_ == 0 || h_ == 0; }
  int Width() const { return w_; }
  int Height() const { return h_; }
  Color* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * w_; }
  const Color* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * w_; }
  const std::vector<Color>& Pixels() const { return pixels_; }

  // Drawing state of the picture box / device context.
  Color foreColor = 0;          // text and pen colour
  Color backColor = 0xFFFFFF;   // opaque text background
  bool transparentText = true;  // text drawn without a background box
  int fontSize = 8;             // points at 96 dpi
  bool fontBold = false;
  FontFace fontFace = FontFace::Sans;
  int penX = 0, penY = 0;  // current position for LineTo

 private:
  int w_ = 0, h_ = 0;
  std::vector<Color> pixels_;
};

// Copies w x h pixels from src (sx, sy) to dst (x, y) with a raster operation, clipped against
// both surfaces at every edge. Copying a surface onto itself is allowed.
void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop);
// Sets one pixel; outside the surface nothing happens.
void SetPixelV(Surface& s, int x, int y, Color c);
// Reads one pixel; kClrInvalid outside the surface.
Color GetPixel(const Surface& s, int x, int y);
// Draws a 1-pixel line in foreColor from the current position to (x, y), excluding the end
// point as GDI does, and makes (x, y) the current position.
void MoveToEx(Surface& s, int x, int y);
void LineTo(Surface& s, int x, int y);
// Blends src (sx, sy, sw, sh) onto dst (x, y, w, h) with constant opacity
// nearest(256 x percent / 100) / 255 (GDI AlphaBlend semantics, source over, no per-pixel alpha).
// Stretches when the sizes differ. percent must be below 100.
void AlphaBlendCopy(const Surface& src, int x, int y, int w, int h, Surface& dst, int sx, int sy, int sw,
                    int sh, int percent);
// The opacity byte AlphaBlendCopy uses for a percentage.
int AlphaByte(int percent);
// Draws the first count bytes of single-byte (Windows-1252) text with the surface's font state,
// top-left at (x, y). count beyond the text length is clipped to it.
void TextOutA(Surface& s, const TextRenderer& fonts, int x, int y, std::string_view text, int count);
// Same, with count = text length.
inline void TextOutA(Surface& s, const TextRenderer& fonts, int x, int y, std::string_view text) {
  TextOutA(s, fonts, x, y, text, static_cast<int>(text.size()));
}

// Glyph coverage of a rendered line of text (0 = background, 255 = ink).
struct TextMask {
  int width = 0, height = 0;
  std::vector<uint8_t> coverage;
};

// Renders text to a coverage mask. Implemented over SDL2_ttf (real and headless platforms alike).
class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // UTF-8 text at a point size (96 dpi), bold or not, in the given face.
  virtual TextMask Render(std::string_view utf8, FontFace face, int points, bool bold) const = 0;
  // Same as Render, but the answer may come from a cache of recent texts so that lines redrawn
  // every frame cost no rendering. Valid until the next call.
  virtual const TextMask& RenderCached(std::string_view utf8, FontFace face, int points, bool bold) const {
    last_ = Render(utf8, face, points, bold);
    return last_;
  }

 private:
  mutable TextMask last_;
};

}  // namespace vorlan
