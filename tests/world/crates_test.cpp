#include "world/crates.h"

#include <cmath>
#include <tuple>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using CratesTest = WorldTest;

TEST_F(CratesTest, HealthCratesFillFreeSlotsNearTheDrop) {
  for (int n = 0; n < 12; ++n) HealthCrates(g, kTrue, 100, 200);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), kCrateSlots);  // the two extra drops found no slot
  for (int i = 0; i < kCrateSlots; ++i) {
    EXPECT_NEAR(g.world.HealthCrateX[i], 107, 7) << i;
    EXPECT_NEAR(g.world.HealthCrateY[i], 207, 7) << i;
  }
}

TEST_F(CratesTest, DropsOutsideTheFieldLeaveNothingAndDrawNothing) {
  g.pics.PicHealth.Resize(14, 7, Rgb(1, 2, 3));
  g.pics.PicAmmo.Resize(18, 7, Rgb(1, 2, 3));
  g.world.HealthCrateOn[0] = kTrue;
  g.world.HealthCrateX[0] = g.world.HealthCrateY[0] = 20;
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
  g.world.AcidOn[0] = kTrue;
  g.world.AcidX[0] = g.world.AcidY[0] = 145;  // centre (148, 148), 2 pixels from the player's centre
  P().RechargeLeft = 9;
  Acid(g, kFalse, 0);
  EXPECT_EQ(std::tuple(g.world.AcidOn[0], g.world.AcidTimer[0]), std::tuple(0, 599));
  EXPECT_EQ(std::tuple(P().Ammo, P().RechargeLeft), std::tuple(333, 0));
  // A pick-up 10 pixels away stays where it is.
  g.world.AcidOn[1] = kTrue, g.world.AcidX[1] = 157, g.world.AcidY[1] = 147;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidOn[1], kTrue);
}

TEST_F(CratesTest, AcidEffectsRunTheirTimersDown) {
  g.world.AcidTimer[1] = 2;
  g.world.AcidTimer[2] = 600;
  Acid(g, kFalse, 0);
  // Kind 1 holds the health near the ceiling of 30 x power.
  EXPECT_GE(P().Health, 85) << P().Health;
  EXPECT_LE(P().Health, 95) << P().Health;
  // Kind 2 shakes the player by up to 2 pixels, bleeds one drop and refills nothing.
  EXPECT_LE(std::abs(P().X - 140), 2);
  EXPECT_LE(std::abs(P().Y - 140), 2);
  EXPECT_EQ(P().Ammo, 20);
  EXPECT_EQ(BloodFlying(), 1);
  Acid(g, kFalse, 0);
  EXPECT_EQ(std::tuple(g.world.AcidTimer[1], g.world.AcidTimer[2]), std::tuple(0, 598));
}

}  // namespace
}  // namespace vorlan::testing
