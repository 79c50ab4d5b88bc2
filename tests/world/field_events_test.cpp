#include "world/field_events.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using FieldEventsTest = WorldTest;

TEST_F(FieldEventsTest, SheepAreBornOnTheRingHeadingForThePlayer) {
  for (int n = 0; n < 25; ++n) {
    plat.AdvanceMs(37);
    SheepPass(g, kTrue);
  }
  // The flock has 21 places.
  EXPECT_EQ(
      std::count_if(g.world.Sheep.begin(), g.world.Sheep.end(), [](auto& s) { return s.SheepAlive != 0; }),
      21);
  for (int k = 0; k <= 20; ++k) {
    const SheepRec& s = g.world.Sheep[k];
    EXPECT_NEAR(std::hypot(s.SheepX - 140, s.SheepY - 140), 210, 0.01);
    EXPECT_EQ(s.SheepHealth, 100) << k;
    EXPECT_GE(s.SheepSpeed, 3) << k;
    EXPECT_LE(s.SheepSpeed, 6) << k;
    EXPECT_EQ(s.SheepDir, AngleAndDistance(g, s.SheepX, s.SheepY, 140, 140));
  }
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
  for (int n = 0; n < 400 && g.world.CleanerOn != 0; ++n) Cleaner(g, kFalse);
  EXPECT_EQ(g.world.CleanerY, 302);
  const int cx = static_cast<int>(x);
  EXPECT_EQ(GetPixel(g.form.Terain, cx, 150), Rgb(200, 200, 200));
  EXPECT_EQ(GetPixel(g.form.Terain, cx + 48, 150), Rgb(200, 200, 200));
  EXPECT_EQ(GetPixel(g.form.Terain, cx + 49, 150), kGround);
}

TEST_F(FieldEventsTest, TheBlastStrikesOnTheNinthFrameByPower) {
  Explosion(g, kTrue, 100, 100);  // blast centre (132, 132)
  Enemy(1, 112, 122);             // centre (122, 132): 10 pixels away
  Enemy(2, 112, 112).Power = 1;   // power 1 takes no damage
  g.world.Soldiers[1].Health = g.world.Soldiers[2].Health = 100;
  P().X = 200;  // 58 pixels away: outside the blast
  SheepRec& s = g.world.Sheep[3];
  s.SheepAlive = kTrue, s.SheepX = s.SheepY = 121, s.SheepHealth = 100;
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
  for (; g.world.ExplosionOn != 0; ++frames) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(frames, 27);
  EXPECT_FLOAT_EQ(g.world.Soldiers[1].Health, 20);  // struck once only
}

TEST_F(FieldEventsTest, BombRunsCostFifteenRoundsAndStrikeUnderTheCursor) {
  P().Ammo = 40;
  g.input.CursorX = 150;
  g.input.CursorY = 80;
  AirRaid(g, kFalse, kFalse, kTrue, kFalse);
  EXPECT_EQ(P().Ammo, 25);
  EXPECT_EQ(std::tuple(g.world.AirRaidOn, g.world.AirRaidKind, g.world.PlaneY), std::tuple(kTrue, 3, 60));
  for (int n = 0; n < 100 && g.world.ExplosionOn == 0; ++n) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(g.world.PlaneX, 150);
  EXPECT_EQ(g.world.ExplosionX, 115);
  EXPECT_EQ(g.world.ExplosionY, 45);
  EXPECT_EQ(g.world.AirRaidKind, 0);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(g.world.PlaneX, 310);
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
}

// Every 250 frames the aircraft brings a player in need one crate near him: health first, one
// run at a time, none while the first crate of the kind still lies there.
TEST_F(FieldEventsTest, SupplyDropsForAPlayerInNeed) {
  struct Case {
    const char* what;
    float health;
    int16_t ammo;
    bool crateLies;
    int healthCrates, ammoCrates;
  };
  const Case cases[] = {
      {"hurt", 30, 20, false, 1, 0},
      {"short of rounds", 100, 3, false, 0, 1},
      {"both: health first", 30, 3, false, 1, 0},
      {"neither", 100, 20, false, 0, 0},
      {"a crate still lies", 30, 20, true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto& w = g.world;
    w.HealthCrateOn = {}, w.AmmoCrateOn = {}, w.AirRaidWait = 0;
    w.HealthCrateOn[0] = c.crateLies ? kTrue : 0;
    P().Health = c.health, P().Ammo = c.ammo;
    const int calls = AudioCount(plat, snd::AirPlane);
    for (int f = 0; f < 250; ++f) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    EXPECT_EQ(w.AirRaidOn, 0) << "no run before the 251st frame";
    AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    while (w.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    EXPECT_EQ(AudioCount(plat, snd::AirPlane) - calls, c.healthCrates + c.ammoCrates - c.crateLies);
    EXPECT_EQ(CountOn(w.HealthCrateOn), c.healthCrates);
    EXPECT_EQ(CountOn(w.AmmoCrateOn), c.ammoCrates);
    if (c.ammoCrates != 0) {
      EXPECT_EQ(w.AmmoCrateLeft[0], 15) << "a full load: (16 - 15) x 15";
    }
    for (int k = 0; k < kCrateSlots; ++k) {
      if (w.HealthCrateOn[k] == 0 || (c.crateLies && k == 0)) continue;
      EXPECT_NEAR(w.HealthCrateX[k], P().X, 40);
      EXPECT_NEAR(w.HealthCrateY[k], P().Y, 40);
    }
  }
}

}  // namespace
}  // namespace vorlan::testing
