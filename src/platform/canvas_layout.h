// Where Field and StatusField sit on the window's canvas, how the canvas is scaled into the
// window, and how window pixels map back to Field pixels. Pure arithmetic, shared by the SDL
// window and its tests.
#pragma once

namespace vorlan {

struct CanvasLayout {
  int canvasW, canvasH;  // canvas in game pixels
  int fieldX, fieldY;    // Field's top-left on the canvas
  int statusX, statusY;  // StatusField's top-left on the canvas
  int originX, originY;  // Field's top-left as GetCursorPos reports it (window rect at 0, 0)
  int outerW, outerH;    // the window rectangle GetWindowRect reports
};

// 300 x 378 windowed (Field over StatusField); 640 x 480 full screen with Field at (170, 50).
CanvasLayout LayoutFor(bool fullScreen);

// The canvas drawn into a window: scale factor and top-left offset in window pixels.
struct Viewport {
  double scale = 1;
  int offX = 0, offY = 0;
  int w = 0, h = 0;     // the scaled canvas in window pixels
  bool smooth = false;  // a fractional scale: filtered rather than blocky
};

// Fits the canvas into a window of the given size, centred: the largest whole factor of at least
// minWhole that fits (letterboxed), else the largest fractional one.
Viewport FitCanvas(int windowW, int windowH, int canvasW, int canvasH, int minWhole = 1);

// The window's client size at start: the largest whole multiple of the canvas (at least twice)
// that fits the usable display area with room for the frame and the desktop's panels, else the
// largest fractional size that fits, else the canvas itself.
void ChooseWindowSize(int usableW, int usableH, int& w, int& h);

// A window pixel as a Field position (may lie outside 0..299).
void WindowToField(double px, double py, const Viewport& v, const CanvasLayout& l, double& fx, double& fy);

// Field's rectangle in window pixels.
void FieldRectInWindow(const Viewport& v, const CanvasLayout& l, int& x, int& y, int& w, int& h);

}  // namespace vorlan
