#include "terrain/pixel_effects.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/random.h"

namespace vorlan {
namespace {

TEST(PixelEffects, BlurOfWhiteDarkensOnlyTheBorderBands) {
  Surface s(20, 20, Rgb(255, 255, 255));
  Blur(s, 10, 10, s, 2);
  // Corner 9 of 25 samples, edge band 20 of 25, the extra corner (10, 10) 4 of 25; (11, 11) lies outside.
  for (auto [x, y, v] : {std::tuple{0, 0, 92}, {5, 5, 255}, {1, 5, 204}, {10, 10, 41}, {11, 11, 255}})
    EXPECT_EQ(GetPixel(s, x, y), Rgb(v, v, v)) << x << "," << y;
}

TEST(PixelEffects, ScaleUpInterpolatesWiderBlocks) {
  Surface two(2, 1);
  SetPixelV(two, 0, 0, Rgb(100, 0, 50));
  SetPixelV(two, 1, 0, Rgb(200, 40, 50));
  Surface wide(4, 2);
  ScaleUp(two, 2, 1, wide, 4, 1);
  // Columns 1 and 3 lie halfway to the right neighbour, and to the black column beyond.
  for (auto [x, colour] :
       {std::pair{0, Rgb(100, 0, 50)}, {1, Rgb(150, 20, 50)}, {2, Rgb(200, 40, 50)}, {3, Rgb(100, 20, 25)}})
    EXPECT_EQ(GetPixel(wide, x, 0), colour) << x;
}

TEST(PixelEffects, DiffuseTakesColoursFromUpToTwoPixelsRightAndBelow) {
  Surface src(40, 40), dst(40, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) SetPixelV(src, x, y, Rgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
  Random rng(1234);
  Diffuse(rng, src, 30, 30, dst, 2);
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 28; ++x) {
      bool found = false;
      for (int dy = 0; dy <= 2 && !found; ++dy)
        for (int dx = 0; dx <= 2 && !found; ++dx)
          found = GetPixel(dst, x, y) == GetPixel(src, x + dx, y + dy);
      EXPECT_TRUE(found) << x << "," << y;
    }
}

TEST(PixelEffects, AreasLargerThanTheSurfaceAreSafe) {
  Surface small(5, 5, Rgb(1, 2, 3));
  Random rng(7);
  Diffuse(rng, small, 40, 40, small, 2);
  Blur(small, 40, 40, small, 2);
  Blur(small, 3, 3, small, -1);
  ScaleUp(small, 40, 40, small, 80, 80);
  ScaleUp(small, 0, 0, small, 10, 10);
  EXPECT_EQ(small.Width(), 5);
}

}  // namespace
}  // namespace vorlan
