// Pixel canvases for the content generator: float colour with coverage, shapes rendered by
// supersampling, text through the Liberation fonts, and JPEG/PNG output.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace content {

struct Rgb {
  float r = 0, g = 0, b = 0;
};
inline Rgb RgbOf(int r, int g, int b) { return {r / 255.f, g / 255.f, b / 255.f}; }
inline Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }

// A colour with coverage, as a shape sampler returns it (alpha 0 = nothing there).
struct Rgba {
  Rgb c;
  float a = 0;
};

struct Vec {
  float x = 0, y = 0;
};
inline Vec Rot(Vec p, float deg) {
  float r = deg * 3.14159265f / 180.f, c = std::cos(r), s = std::sin(r);
  return {p.x * c - p.y * s, p.x * s + p.y * c};
}

// Signed distances (negative inside) of the basic shapes, in the caller's units.
inline float SdCircle(Vec p, Vec c, float r) { return std::hypot(p.x - c.x, p.y - c.y) - r; }
inline float SdBox(Vec p, Vec c, float hw, float hh, float round = 0) {
  float dx = std::fabs(p.x - c.x) - hw + round, dy = std::fabs(p.y - c.y) - hh + round;
  float ox = std::max(dx, 0.f), oy = std::max(dy, 0.f);
  return std::hypot(ox, oy) + std::min(std::max(dx, dy), 0.f) - round;
}
inline float SdEllipse(Vec p, Vec c, float rx, float ry) {
  // Scaled circle: close enough for the small sizes used here.
  float k = std::min(rx, ry);
  float dx = (p.x - c.x) / rx, dy = (p.y - c.y) / ry;
  return (std::sqrt(dx * dx + dy * dy) - 1.f) * k;
}
inline float SdSegment(Vec p, Vec a, Vec b, float r) {
  float px = p.x - a.x, py = p.y - a.y, bx = b.x - a.x, by = b.y - a.y;
  float h = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.f, 1.f);
  return std::hypot(px - bx * h, py - by * h) - r;
}

// A floating point RGB image with coverage (straight, not premultiplied colour).
class Canvas {
 public:
  Canvas() = default;
  Canvas(int w, int h, Rgb fill = {}, float alpha = 1.f) : w_(w), h_(h), px_(size_t(w) * h, {fill, alpha}) {}
  int W() const { return w_; }
  int H() const { return h_; }
  Rgba& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
  const Rgba& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  // Source-over of a colour at a pixel with the given coverage.
  void Blend(int x, int y, Rgb c, float a);
  // Copies another canvas in at (x, y), colour and coverage as they are.
  void Put(const Canvas& src, int x, int y);
  // Source-over of another canvas at (x, y).
  void Over(const Canvas& src, int x, int y, float opacity = 1.f);

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgba> px_;
};

// A scene answers the colour and coverage at a point given in output pixels.
using Scene = std::function<Rgba(Vec)>;

// Renders a w x h scene with ss x ss samples per pixel; coverage is the share of samples hit.
Canvas Render(int w, int h, const Scene& scene, int ss = 4);

// Source-over stacking helper used by scenes: paints c over acc with coverage a.
inline void Layer(Rgba& acc, Rgb c, float a = 1.f) {
  if (a <= 0) return;
  float na = a + acc.a * (1 - a);
  if (na <= 0) return;
  acc.c = Mix(acc.c, c, a / na);
  acc.a = na;
}
// Coverage of a signed distance at one sample, with a small soft band for smooth edges.
inline float Cover(float d, float soft = 0.05f) { return std::clamp(0.5f - d / soft, 0.f, 1.f); }

// A sprite cell ready for a masked picture: the image black where transparent and the mask
// white there, black where opaque. The edge keeps a dark rim where coverage was partial.
struct Sprite {
  Canvas image;  // opaque colours
  Canvas mask;   // white or black
};
Sprite MakeSprite(const Canvas& rendered, float threshold = 0.5f, Rgb rim = {0.05f, 0.05f, 0.04f});

// Text drawn with a Liberation face onto a canvas; x, y is the top-left of the text box.
enum class Face { Sans, SansBold, Mono, MonoBold, Narrow, NarrowBold };
// Renders text as a coverage canvas (white colour); empty canvas when fonts are missing.
Canvas TextMask(const std::string& text, Face face, int pointSize);
// Draws text with coverage at (x, y) in colour c.
void DrawText(Canvas& dst, const std::string& text, Face face, int pointSize, int x, int y, Rgb c,
              float opacity = 1.f);
// Width in pixels of a rendered text.
int TextWidth(const std::string& text, Face face, int pointSize);
bool FontsReady();

// Output files. JPEG is baseline, 4:4:4 (no chroma subsampling) at the given quality.
bool WriteJpeg(const Canvas& c, const std::filesystem::path& file, int quality);
// PNG keeps the coverage as alpha when asked (icons); otherwise it is opaque RGB.
bool WritePng(const Canvas& c, const std::filesystem::path& file, bool withAlpha = false);

// Clamped 8-bit channel.
inline uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(std::lround(v * 255.f), 0L, 255L)); }

}  // namespace content
