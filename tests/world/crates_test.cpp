#include "world/crates.h"

#include <cmath>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using CratesTest = WorldTest;

TEST_F(CratesTest, HealthCratesFillFreeSlotsNearTheDrop) {
  for (int n = 0; n < 12; ++n) HealthCrates(g, kTrue, 100, 200);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), kCrateSlots);  // the two extra drops found no slot
  for (int i = 0; i < kCrateSlots; ++i) {
    EXPECT_GE(g.world.HealthCrateX[i], 100);
    EXPECT_LE(g.world.HealthCrateX[i], 114);
    EXPECT_GE(g.world.HealthCrateY[i], 200);
    EXPECT_LE(g.world.HealthCrateY[i], 214);
  }
  g.world.HealthCrateOn[3] = 0;
  HealthCrates(g, kTrue, 0, 0);
  EXPECT_EQ(g.world.HealthCrateOn[3], kTrue);
  EXPECT_LE(g.world.HealthCrateX[3], 14);
}

TEST_F(CratesTest, DropsOutsideTheFieldLeaveNothingAndDrawNothing) {
  g.pics.PicHealth.Resize(14, 7, Rgb(1, 2, 3));
  g.pics.PicAmmo.Resize(18, 7, Rgb(1, 2, 3));
  g.world.HealthCrateOn[0] = kTrue;
  g.world.HealthCrateX[0] = 20;
  g.world.HealthCrateY[0] = 20;
  for (double x : {-0.5, 290.5, 295.0}) {
    HealthCrates(g, kTrue, x, 100);
    int16_t ammo = 30;
    AmmoCrates(g, kTrue, x, 100, ammo);
    EXPECT_EQ(ammo, 30);  // not even the round is taken
  }
  HealthCrates(g, kTrue, 100, 291);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), 1);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 0);
  EXPECT_EQ(GetPixel(g.form.Field, 20, 20), 0u);
  // The per-frame call draws it.
  HealthCrates(g, kFalse, 0, 0);
  EXPECT_EQ(GetPixel(g.form.Field, 20, 20), Rgb(1, 2, 3));
}

TEST_F(CratesTest, AmmoCratesHoldTheRoundsLeftUpToFifty) {
  int16_t ammo = 1;
  AmmoCrates(g, kTrue, 50, 50, ammo);
  EXPECT_EQ(ammo, 0);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 0);
  ammo = 80;
  AmmoCrates(g, kTrue, 50, 50, ammo);
  EXPECT_EQ(ammo, 79);
  EXPECT_EQ(g.world.AmmoCrateLeft[0], 50);
  ammo = 12;
  AmmoCrates(g, kTrue, 50, 50, ammo);
  EXPECT_EQ(g.world.AmmoCrateLeft[1], 11);
  // Drawing only still takes a round off the value it is given.
  ammo = 0;
  AmmoCrates(g, kFalse, 0, 0, ammo);
  EXPECT_EQ(ammo, -1);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 2);
}

TEST_F(CratesTest, OnlyOnePickUpOfAKindLiesOnTheField) {
  Soldier& s = g.world.Soldiers[5];
  s.Alive = kTrue;
  float x = 10;
  std::array<double, kAcidKinds> firstX{};
  for (int n = 0; n < 40; ++n) {
    s.X = x;
    s.Y = 30;
    Acid(g, kTrue, 5);
    for (int k = 0; k < kAcidKinds; ++k) {
      if (g.world.AcidOn[k] == 0) continue;
      if (firstX[k] == 0) firstX[k] = g.world.AcidX[k];
      EXPECT_EQ(g.world.AcidX[k], firstX[k]);  // a second drop of the kind does not move it
    }
    x += 30;
  }
  // A drop in the middle of the frame leaves the running effects to the frame's own call.
  g.world.AcidTimer[1] = 5;
  Acid(g, kTrue, 5);
  EXPECT_EQ(g.world.AcidTimer[1], 5);
  for (int k = 0; k < kAcidKinds; ++k) {
    EXPECT_EQ(g.world.AcidOn[k], kTrue);
    EXPECT_GE(g.world.AcidY[k], 25);
    EXPECT_LE(g.world.AcidY[k], 34);
  }
}

TEST_F(CratesTest, TakingAcidZeroFillsTheAmmunitionOnce) {
  g.world.AcidOn[0] = kTrue;
  g.world.AcidX[0] = 145;
  g.world.AcidY[0] = 145;  // centre (148, 148), 2 pixels from the player's centre
  P().RechargeLeft = 9;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidOn[0], 0);
  EXPECT_EQ(g.world.AcidTimer[0], 599);
  EXPECT_EQ(P().Ammo, 333);
  EXPECT_EQ(P().RechargeLeft, 0);
  P().Ammo = 20;
  P().RechargeLeft = 9;
  Acid(g, kFalse, 0);
  EXPECT_EQ(P().Ammo, 20);
  EXPECT_EQ(P().RechargeLeft, 0);
  EXPECT_EQ(g.world.AcidTimer[0], 598);
  // A pick-up 10 pixels away stays where it is.
  g.world.AcidOn[1] = kTrue;
  g.world.AcidX[1] = 157;
  g.world.AcidY[1] = 147;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidOn[1], kTrue);
}

TEST_F(CratesTest, AcidEffectsRunTheirTimersDown) {
  g.world.AcidTimer[1] = 2;
  g.world.AcidTimer[2] = 600;
  Acid(g, kFalse, 0);
  // Kind 1 holds the health near the ceiling of 30 x power.
  EXPECT_GE(P().Health, 85);
  EXPECT_LE(P().Health, 95);
  // Kind 2 shakes the player by up to 2 pixels and does not refill anything.
  EXPECT_LE(std::abs(P().X - 140), 2);
  EXPECT_LE(std::abs(P().Y - 140), 2);
  EXPECT_EQ(P().Ammo, 20);
  int drops = 0;
  for (int16_t life : g.world.BloodLife) drops += life >= 1 ? 1 : 0;
  EXPECT_EQ(drops, 1);
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidTimer[1], 0);
  EXPECT_EQ(g.world.AcidTimer[2], 598);

  // Kind 3 jitters the aim and sometimes pulls the trigger.
  g.world.AcidTimer[3] = 600;
  g.input.CursorX = 100;
  int fired = 0;
  for (int n = 0; n < 100; ++n) {
    g.input.MouseLeft = 0;
    Acid(g, kFalse, 0);
    fired += g.input.MouseLeft != 0 ? 1 : 0;
  }
  EXPECT_GT(fired, 5);
  EXPECT_LT(fired, 40);
  EXPECT_EQ(g.world.AcidTimer[3], 500);
}

TEST_F(CratesTest, IconsMoveWithTheAmmunitionAndHideInTheCorner) {
  P().Ammo = 15;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidIconX, 240);
  EXPECT_EQ(g.world.HudIconsVisible, kTrue);
  P().Ammo = 14;
  P().X = 220;
  P().Y = 260;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.AcidIconX, 270);
  EXPECT_EQ(g.world.HudIconsVisible, 0);
  P().Y = 259;
  Acid(g, kFalse, 0);
  EXPECT_EQ(g.world.HudIconsVisible, kTrue);
}

}  // namespace
}  // namespace vorlan::testing
