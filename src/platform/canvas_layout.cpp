// Canvas placement and the mapping between window pixels and Field pixels.
#include "platform/canvas_layout.h"

#include <algorithm>
#include <cmath>

namespace vorlan {

CanvasLayout LayoutFor(bool fullScreen) {
  if (fullScreen) return {640, 480, 170, 50, 170, 350, 170, 50, 640, 480};
  return {300, 378, 0, 0, 0, 300, 4, 23, 308, 404};
}

Viewport FitCanvas(int windowW, int windowH, int canvasW, int canvasH, int minWhole) {
  Viewport v;
  if (windowW <= 0 || windowH <= 0 || canvasW <= 0 || canvasH <= 0) return v;
  int whole = std::min(windowW / canvasW, windowH / canvasH);
  if (whole >= std::max(minWhole, 1)) {
    v.scale = whole;
  } else {
    v.scale = std::min(static_cast<double>(windowW) / canvasW, static_cast<double>(windowH) / canvasH);
    v.smooth = v.scale != std::floor(v.scale);
  }
  v.w = static_cast<int>(std::lround(canvasW * v.scale));
  v.h = static_cast<int>(std::lround(canvasH * v.scale));
  v.offX = (windowW - v.w) / 2;
  v.offY = (windowH - v.h) / 2;
  return v;
}

void ChooseWindowSize(int usableW, int usableH, int& w, int& h) {
  // Room for the window frame and a margin around it.
  constexpr int kMarginW = 40, kMarginH = 80;
  const int roomW = usableW - kMarginW, roomH = usableH - kMarginH;
  int whole = std::min(roomW / 300, roomH / 378);
  double scale = whole >= 2 ? std::min(whole, 16) : std::min(roomW / 300.0, roomH / 378.0);
  scale = std::max(scale, 1.0);
  w = static_cast<int>(300 * scale);
  h = static_cast<int>(378 * scale);
}

void WindowToField(double px, double py, const Viewport& v, const CanvasLayout& l, double& fx, double& fy) {
  double s = v.scale > 0 ? v.scale : 1;
  fx = std::floor((px - v.offX) / s) - l.fieldX;
  fy = std::floor((py - v.offY) / s) - l.fieldY;
}

void FieldRectInWindow(const Viewport& v, const CanvasLayout& l, int& x, int& y, int& w, int& h) {
  x = v.offX + static_cast<int>(std::lround(l.fieldX * v.scale));
  y = v.offY + static_cast<int>(std::lround(l.fieldY * v.scale));
  w = static_cast<int>(std::lround(300 * v.scale));
  h = static_cast<int>(std::lround(300 * v.scale));
}

}  // namespace vorlan
