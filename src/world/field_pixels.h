// The pixel a field position is drawn on, shared by the world steps.
#pragma once

#include <cmath>

#include "numbers.h"

namespace vorlan {

// nearest(v) as a pixel coordinate. The world steps convert thousands of positions per frame,
// so ordinary values take the processor's own rounding, which in the default rounding mode is
// the same halves-to-even rule as Nearest; anything else goes through Nearest and saturates.
inline int Px(double v) {
  if (v > -1e9 && v < 1e9) return static_cast<int>(std::nearbyint(v));
  return Sat32(Nearest(v));
}

}  // namespace vorlan
