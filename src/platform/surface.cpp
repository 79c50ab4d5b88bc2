// Pixel surfaces and their drawing operations (temporary bodies while the real ones land).
#include "platform/surface.h"

namespace vorlan {

void Surface::Resize(int w, int h, Color fill) {
  w_ = w > 0 ? w : 0;
  h_ = h > 0 ? h : 0;
  pixels_.assign(static_cast<size_t>(w_) * h_, fill);
}
void Surface::ResizeKeep(int w, int h, Color fill) { Resize(w, h, fill); }
void Surface::Fill(Color c) { pixels_.assign(pixels_.size(), c); }

void BitBlt(Surface&, int, int, int, int, const Surface&, int, int, Rop) {}
void SetPixelV(Surface& s, int x, int y, Color c) {
  if (x >= 0 && y >= 0 && x < s.Width() && y < s.Height()) s.Row(y)[x] = c;
}
Color GetPixel(const Surface& s, int x, int y) {
  if (x >= 0 && y >= 0 && x < s.Width() && y < s.Height()) return s.Row(y)[x];
  return kClrInvalid;
}
void MoveToEx(Surface& s, int x, int y) { s.penX = x; s.penY = y; }
void LineTo(Surface& s, int x, int y) { s.penX = x; s.penY = y; }
void AlphaBlendCopy(const Surface&, int, int, int, int, Surface&, int, int, int, int, int) {}
int AlphaByte(int percent) { return (256 * percent + 50) / 100; }
void TextOutA(Surface&, const TextRenderer&, int, int, std::string_view, int) {}
std::string Cp1252ToUtf8(std::string_view bytes) { return std::string(bytes); }
std::string Utf8ToCp1252(std::string_view utf8) { return std::string(utf8); }

}  // namespace vorlan
