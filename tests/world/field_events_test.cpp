#include "world/field_events.h"

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
  // The flock has 21 places; a birth only places the sheep.
  EXPECT_EQ(g.world.Sheep[21].SheepAlive, 0);
  for (int k = 0; k <= 20; ++k) {
    const SheepRec& s = g.world.Sheep[k];
    EXPECT_EQ(s.SheepAlive, kTrue) << k;
    EXPECT_NEAR(std::hypot(s.SheepX - 140, s.SheepY - 140), 210, 0.01);
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
  const int x = static_cast<int>(g.world.CleanerX);
  EXPECT_LE(x, 259);  // the strip lies on the field
  // Still second 29: the running cleaner is not restarted.
  Cleaner(g, kFalse);
  EXPECT_EQ(std::tuple(g.world.CleanerX, g.world.CleanerY), std::tuple(x, -62));

  g.timing.GameSeconds = 30;
  for (int n = 0; n < 400 && g.world.CleanerOn != 0; ++n) Cleaner(g, kFalse);
  EXPECT_EQ(g.world.CleanerY, 302);
  for (auto [dx, colour] : {std::pair{0, Rgb(200, 200, 200)}, {48, Rgb(200, 200, 200)}, {49, kGround}})
    EXPECT_EQ(GetPixel(g.form.Terain, x + dx, 150), colour) << dx;
}

TEST_F(FieldEventsTest, TheBlastStrikesOnTheNinthFrameByPower) {
  Explosion(g, kTrue, 100, 100);       // blast centre (132, 132)
  Soldier& near = Enemy(1, 112, 122);  // centre (122, 132): 10 pixels away
  Soldier& weak = Enemy(2, 112, 112);  // power 1 takes no damage
  near.Health = weak.Health = 100, weak.Power = 1;
  P().X = 200;  // 58 pixels away: outside the blast
  SheepRec& s = Sheep(3, 121, 121, 100);
  for (int f = 1; f < 8; ++f) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(std::tuple(g.world.ExplosionFrame, near.Health), std::tuple(8, 100));
  Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(std::tuple(near.Health, weak.Health, P().Health, s.SheepAlive), std::tuple(20, 100, 100, 0));
  // A second request while it burns changes nothing.
  Explosion(g, kTrue, 0, 0);
  EXPECT_EQ(g.world.ExplosionX, 100);
  int frames = 10;
  for (; g.world.ExplosionOn != 0; ++frames) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(frames, 27);
  EXPECT_EQ(near.Health, 20);  // struck once only
}

TEST_F(FieldEventsTest, BombRunsCostFifteenRoundsAndStrikeUnderTheCursor) {
  P().Ammo = 40;
  g.input.CursorX = 150, g.input.CursorY = 80;
  AirRaid(g, kFalse, kFalse, kTrue, kFalse);
  EXPECT_EQ(P().Ammo, 25);
  for (int n = 0; n < 100 && g.world.ExplosionOn == 0; ++n) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(std::tuple(g.world.PlaneX, g.world.ExplosionX, g.world.ExplosionY, g.world.AirRaidKind),
            std::tuple(150, 115, 45, 0));
}

TEST_F(FieldEventsTest, TheSupplyRunLaysALineOfCrates) {
  g.timing.GameMinutes = 2;
  AirRaid(g, kFalse, kFalse, kFalse, kTrue);
  while (g.world.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  // Ten health crates fit; the run drops eleven.
  EXPECT_EQ(
      std::tuple(CountOn(g.world.HealthCrateOn), CountOn(g.world.AmmoCrateOn), g.world.AmmoCrateLeft[0]),
      std::tuple(10, 1, 50));

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
  auto& w = g.world;
  // health, ammunition, a crate lies, health crates, ammunition crates
  for (auto [health, ammo, crateLies, healthCrates, ammoCrates] : {std::tuple{30.f, 20, false, 1, 0},
                                                                   {100.f, 3, false, 0, 1},
                                                                   {30.f, 3, false, 1, 0},
                                                                   {100.f, 20, false, 0, 0},
                                                                   {30.f, 20, true, 1, 0}}) {
    SCOPED_TRACE(::testing::Message() << "health " << health << ", ammo " << ammo << ", lies " << crateLies);
    w.HealthCrateOn = {}, w.AmmoCrateOn = {}, w.AirRaidWait = 0;
    w.HealthCrateOn[0] = crateLies ? kTrue : 0;
    P().Health = health, P().Ammo = static_cast<int16_t>(ammo);
    const int calls = AudioCount(plat, snd::AirPlane);
    for (int f = 0; f < 250; ++f) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    EXPECT_EQ(w.AirRaidOn, 0) << "no run before the 251st frame";
    AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    while (w.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
    EXPECT_EQ(AudioCount(plat, snd::AirPlane) - calls, healthCrates + ammoCrates - crateLies);
    EXPECT_EQ(CountOn(w.HealthCrateOn), healthCrates);
    EXPECT_EQ(CountOn(w.AmmoCrateOn), ammoCrates);
    if (ammoCrates != 0) {
      EXPECT_EQ(w.AmmoCrateLeft[0], 15) << "a full load: (16 - 15) x 15";
    }
    const int k = crateLies ? 1 : 0;  // the new crate lies near the player
    if (w.HealthCrateOn[k] != 0) {
      EXPECT_NEAR(w.HealthCrateX[k], P().X, 40);
      EXPECT_NEAR(w.HealthCrateY[k], P().Y, 40);
    }
  }
}

}  // namespace
}  // namespace vorlan::testing
