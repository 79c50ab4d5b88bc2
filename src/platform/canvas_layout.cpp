// Canvas placement and the mapping between window pixels and Field pixels.
#include "platform/canvas_layout.h"

#include <algorithm>
#include <cmath>

namespace vorlan {

CanvasLayout LayoutFor(bool fullScreen) {
  if (fullScreen) return {640, 480, 170, 50, 170, 350, 170, 50, 640, 480};
  return {300, 378, 0, 0, 0, 300, 4, 23, 308, 404};
}

Viewport FitCanvas(int windowW, int windowH, int canvasW, int canvasH) {
  Viewport v;
  if (windowW <= 0 || windowH <= 0 || canvasW <= 0 || canvasH <= 0) return v;
  int whole = std::min(windowW / canvasW, windowH / canvasH);
  v.scale = whole >= 1
                ? whole
                : std::min(static_cast<double>(windowW) / canvasW, static_cast<double>(windowH) / canvasH);
  v.w = static_cast<int>(std::lround(canvasW * v.scale));
  v.h = static_cast<int>(std::lround(canvasH * v.scale));
  v.offX = (windowW - v.w) / 2;
  v.offY = (windowH - v.h) / 2;
  return v;
}

int ChooseWindowScale(int usableW, int usableH) {
  // Room for the window frame and a margin around it.
  constexpr int kMarginW = 40, kMarginH = 80;
  int s = std::min((usableW - kMarginW) / 300, (usableH - kMarginH) / 378);
  return std::clamp(s, 1, 16);
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
