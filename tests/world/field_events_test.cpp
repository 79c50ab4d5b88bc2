#include "world/field_events.h"

#include <cmath>

#include "world/bullets.h"
#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using FieldEventsTest = WorldTest;

int SheepAlive(const Game& g) {
  int n = 0;
  for (const auto& s : g.world.Sheep) n += s.SheepAlive != 0 ? 1 : 0;
  return n;
}

TEST_F(FieldEventsTest, SheepAreBornOnTheRingHeadingForThePlayer) {
  for (int n = 0; n < 25; ++n) {
    plat.AdvanceMs(37);
    SheepPass(g, kTrue);
  }
  EXPECT_EQ(SheepAlive(g), 21);  // the flock has 21 places
  for (int k = 0; k <= 20; ++k) {
    const SheepRec& s = g.world.Sheep[k];
    EXPECT_NEAR(std::hypot(s.SheepX - 140, s.SheepY - 140), 210, 0.01);
    EXPECT_EQ(s.SheepHealth, 100);
    EXPECT_GE(s.SheepSpeed, 3);
    EXPECT_LE(s.SheepSpeed, 6);
    EXPECT_TRUE(s.SheepKind == 1 || s.SheepKind == 2);
    EXPECT_EQ(s.SheepBleatEvery % 30, 0);
    EXPECT_GE(s.SheepBleatEvery, 300);
    EXPECT_LE(s.SheepBleatEvery, 2070);
    EXPECT_EQ(s.SheepDir, AngleAndDistance(g, s.SheepX, s.SheepY, 140, 140));
  }
}

TEST_F(FieldEventsTest, SheepWanderAndLeaveWhenFarOut) {
  SheepRec& s = g.world.Sheep[2];
  s.SheepAlive = kTrue;
  s.SheepX = 100;
  s.SheepY = 100;
  s.SheepDir = 0;
  s.SheepSpeed = 5;
  for (int n = 0; n < 30; ++n) {
    SheepPass(g, kFalse);
    EXPECT_GE(s.SheepDir, 0);
    EXPECT_LE(s.SheepDir, 359);
  }
  EXPECT_GT(std::hypot(s.SheepX - 100, s.SheepY - 100), 3);
  EXPECT_LE(std::hypot(s.SheepX - 100, s.SheepY - 100), 15.01);

  s.SheepX = 140 + 251;
  s.SheepY = 140;
  SheepPass(g, kFalse);
  EXPECT_EQ(s.SheepAlive, 0);
}

TEST_F(FieldEventsTest, ASheepDiesBelowOneHealth) {
  g.pics.PicOvcaDead.Resize(17, 32, 0);
  SheepRec& s = g.world.Sheep[0];
  s.SheepAlive = kTrue;
  s.SheepX = 30;
  s.SheepY = 40;
  s.SheepHealth = 1;
  SheepDeathCheck(g, 0);
  EXPECT_EQ(s.SheepAlive, kTrue);
  s.SheepHealth = 0;
  SheepDeathCheck(g, 0);
  EXPECT_EQ(s.SheepAlive, 0);
}

TEST_F(FieldEventsTest, TheCleanerRunsTwiceAMinuteAndWipesAStrip) {
  g.pics.PicCleanLine.Resize(49, 340, Rgb(200, 200, 200));
  g.timing.GameSeconds = 28;
  Cleaner(g, kFalse);
  EXPECT_EQ(g.world.CleanerOn, 0);
  g.timing.GameSeconds = 29;
  Cleaner(g, kFalse);
  ASSERT_EQ(g.world.CleanerOn, kTrue);
  EXPECT_EQ(g.world.CleanerY, -64);
  const double x = g.world.CleanerX;
  EXPECT_EQ(x, std::floor(x));
  EXPECT_LE(x, 259);
  // Still second 29: the running cleaner is not restarted.
  Cleaner(g, kFalse);
  EXPECT_EQ(g.world.CleanerY, -62);
  EXPECT_EQ(g.world.CleanerX, x);

  g.timing.GameSeconds = 30;
  int frames = 1;
  while (g.world.CleanerOn != 0 && frames < 400) {
    Cleaner(g, kFalse);
    ++frames;
  }
  EXPECT_EQ(g.world.CleanerY, 302);
  const int cx = static_cast<int>(x);
  EXPECT_EQ(GetPixel(g.form.Terain, cx, 150), Rgb(200, 200, 200));
  EXPECT_EQ(GetPixel(g.form.Terain, cx + 48, 150), Rgb(200, 200, 200));
  EXPECT_EQ(GetPixel(g.form.Terain, cx + 49, 150), kGround);
  EXPECT_EQ(GetPixel(g.form.Terain, cx, 20), Rgb(200, 200, 200));

  g.timing.GameSeconds = 59;
  Cleaner(g, kFalse);
  EXPECT_EQ(g.world.CleanerOn, kTrue);
}

TEST_F(FieldEventsTest, TheBlastStrikesOnTheNinthFrameByPower) {
  Explosion(g, kTrue, 100, 100);  // blast centre (132, 132)
  Enemy(1, 112, 122);             // centre (122, 132): 10 pixels away
  Enemy(2, 112, 112).Power = 1;   // power 1 takes no damage
  g.world.Soldiers[1].Health = 100;
  g.world.Soldiers[2].Health = 100;
  P().X = 200;  // 58 pixels away: outside the blast
  SheepRec& s = g.world.Sheep[3];
  s.SheepAlive = kTrue;
  s.SheepX = 121;
  s.SheepY = 121;
  s.SheepHealth = 100;
  for (int f = 1; f < 8; ++f) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(g.world.ExplosionFrame, 8);
  EXPECT_EQ(g.world.Soldiers[1].Health, 100);
  Explosion(g, kFalse, 0, 0);
  EXPECT_FLOAT_EQ(g.world.Soldiers[1].Health, 20);
  EXPECT_FLOAT_EQ(g.world.Soldiers[2].Health, 100);
  EXPECT_FLOAT_EQ(P().Health, 100);
  EXPECT_EQ(s.SheepAlive, 0);
  // A second request while it burns changes nothing.
  Explosion(g, kTrue, 0, 0);
  EXPECT_EQ(g.world.ExplosionX, 100);
  int frames = 10;
  while (g.world.ExplosionOn != 0) {
    Explosion(g, kFalse, 0, 0);
    ++frames;
  }
  EXPECT_EQ(frames, 27);
  EXPECT_FLOAT_EQ(g.world.Soldiers[1].Health, 20);  // struck once only
}

TEST_F(FieldEventsTest, BombRunsCostFifteenRoundsAndStrikeUnderTheCursor) {
  P().Ammo = 40;
  g.input.CursorX = 150;
  g.input.CursorY = 80;
  AirRaid(g, kFalse, kFalse, kTrue, kFalse);
  EXPECT_EQ(P().Ammo, 25);
  EXPECT_EQ(g.world.AirRaidOn, kTrue);
  EXPECT_EQ(g.world.AirRaidKind, 3);
  EXPECT_EQ(g.world.PlaneY, 60);
  // A second bomb while the aircraft flies costs nothing.
  AirRaid(g, kFalse, kFalse, kTrue, kFalse);
  EXPECT_EQ(P().Ammo, 25);
  int frames = 2;
  while (g.world.ExplosionOn == 0 && frames < 100) {
    AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    ++frames;
  }
  EXPECT_EQ(g.world.PlaneX, 150);
  EXPECT_EQ(g.world.ExplosionX, 115);
  EXPECT_EQ(g.world.ExplosionY, 45);
  EXPECT_EQ(g.world.AirRaidKind, 0);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(g.world.PlaneX, 310);
}

TEST_F(FieldEventsTest, AirDropsComeToAPlayerInNeed) {
  P().Health = 39;
  for (int n = 0; n < 250; ++n) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(g.world.AirRaidOn, 0);
  AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  ASSERT_EQ(g.world.AirRaidOn, kTrue);
  EXPECT_EQ(g.world.AirRaidKind, 1);
  EXPECT_EQ(g.world.PlaneY, 120);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), 1);
  EXPECT_NEAR(g.world.HealthCrateX[0], 147, 33);  // within 25 of the player, plus the crate's own offset

  // An ammo drop holds what the player can carry, at most 50.
  P().Health = 100;
  P().Ammo = 2;
  P().RechargeTime = 15;  // carries 15
  g.world.AirRaidWait = 250;
  while (g.world.AirRaidKind != 2) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(g.world.AmmoCrateLeft[0], 15);
}

TEST_F(FieldEventsTest, TheSupplyRunLaysALineOfCrates) {
  g.timing.GameMinutes = 2;
  AirRaid(g, kFalse, kFalse, kFalse, kTrue);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  // Ten health crates fit; the run drops eleven.
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), 10);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 1);
  EXPECT_EQ(g.world.AmmoCrateLeft[0], 50);
  EXPECT_EQ(g.world.AirRaidKind, 0);

  // In the fifth minute the outer windows are skipped: 100..180 and above 250 remain.
  for (auto& on : g.world.HealthCrateOn) on = 0;
  g.timing.GameMinutes = 5;
  AirRaid(g, kFalse, kFalse, kFalse, kTrue);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), 6);

  // A run left over from the last game does not drop anything once the aircraft is gone.
  for (auto& on : g.world.HealthCrateOn) on = 0;
  g.world.AirRaidKind = 4;
  g.world.PlaneX = 150;
  for (int n = 0; n < 5; ++n) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(CountOn(g.world.HealthCrateOn), 0);
}

}  // namespace
}  // namespace vorlan::testing
