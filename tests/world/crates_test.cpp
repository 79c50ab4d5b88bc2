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

TEST_F(CratesTest, TakingAcidZeroFillsTheAmmunitionOnce) {
  // Its centre (148, 148) lies 2 pixels from the player's centre.
  g.world.AcidOn[0] = kTrue, g.world.AcidX[0] = 145, g.world.AcidY[0] = 145;
  P().RechargeLeft = 9;
  Acid(g, kFalse, 0);
  EXPECT_EQ(std::tuple(g.world.AcidOn[0], g.world.AcidTimer[0], P().Ammo, P().RechargeLeft),
            std::tuple(0, 599, 333, 0));
  // A pick-up 10 pixels away stays where it is.
  g.world.AcidOn[1] = kTrue, g.world.AcidX[1] = 157, g.world.AcidY[1] = 147;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidOn[1], kTrue);
}

TEST_F(CratesTest, AcidEffectsRunTheirTimersDown) {
  g.world.AcidTimer[1] = 2, g.world.AcidTimer[2] = 600;
  Acid(g, kFalse, 0);
  // Kind 1 holds the health near the ceiling of 30 x power.
  EXPECT_NEAR(P().Health, 90, 5);
  // Kind 2 shakes the player by up to 2 pixels, bleeds one drop and refills nothing.
  EXPECT_NEAR(P().X, 140, 2);
  EXPECT_NEAR(P().Y, 140, 2);
  EXPECT_EQ(std::tuple(P().Ammo, BloodFlying()), std::tuple(20, 1));
  Acid(g, kFalse, 0);
  EXPECT_EQ(std::tuple(g.world.AcidTimer[1], g.world.AcidTimer[2]), std::tuple(0, 598));
}

}  // namespace
}  // namespace vorlan::testing
