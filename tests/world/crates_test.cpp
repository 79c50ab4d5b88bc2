#include "world/crates.h"

#include <tuple>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using CratesTest = WorldTest;

TEST_F(CratesTest, DropsOutsideTheFieldLeaveNothingAndDrawNothing) {
  g.pics.PicHealth.Resize(14, 7, Rgb(1, 2, 3));
  g.world.HealthCrateOn[0] = kTrue, g.world.HealthCrateX[0] = 20, g.world.HealthCrateY[0] = 20;
  for (double x : {-0.5, 290.5, 295.0}) {
    HealthCrates(g, kTrue, x, 100);
    int16_t ammo = 30;
    AmmoCrates(g, kTrue, x, 100, ammo);
    EXPECT_EQ(ammo, 30);  // not even the round is taken
  }
  HealthCrates(g, kTrue, 100, 291);
  EXPECT_EQ(std::tuple(CountOn(g.world.HealthCrateOn), CountOn(g.world.AmmoCrateOn)), std::tuple(1, 0));
  EXPECT_EQ(GetPixel(g.form.Field, 20, 20), 0u);
  // The per-frame call draws it.
  HealthCrates(g, kFalse, 0, 0);
  EXPECT_EQ(GetPixel(g.form.Field, 20, 20), Rgb(1, 2, 3));
}

// A pick-up dropped by a death in the middle of a frame leaves the running effects to the frame's own call.
TEST_F(CratesTest, AnAcidDropLeavesTheRunningEffectsAlone) {
  g.world.AcidTimer[1] = 5;
  Acid(g, kTrue, 5);
  EXPECT_EQ(g.world.AcidTimer[1], 5);
}

}  // namespace
}  // namespace vorlan::testing
