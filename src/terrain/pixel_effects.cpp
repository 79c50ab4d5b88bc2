#include "terrain/pixel_effects.h"

namespace vorlan {

void Diffuse(Random& rng, const Surface& src, int w, int h, Surface& dst, int spread) {}
void Blur(const Surface& src, int w, int h, Surface& dst, int radius) {}
void ScaleUp(const Surface& src, int sw, int sh, Surface& dst, int tw, int th) {}

}  // namespace vorlan
