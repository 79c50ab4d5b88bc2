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

// The blast strikes once, by power: (power - 1) x (50 - distance); the player 25 pixels away feels
// it on a controller, once.
TEST_F(FieldEventsTest, TheBlastStrikesOnceByPower) {
  Explosion(g, kTrue, 100, 100);       // blast centre (132, 132)
  Soldier& near = Enemy(1, 112, 122);  // centre (122, 132): 10 pixels away
  Soldier& weak = Enemy(2, 112, 112);  // power 1 takes no damage
  near.Health = weak.Health = 100, weak.Power = 1;
  Explosion(g, kTrue, 0, 0);  // a second request while it burns changes nothing
  while (g.world.ExplosionOn != 0) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(std::tuple(g.world.ExplosionX, near.Health, weak.Health), std::tuple(100, 20, 100));
  EXPECT_EQ(plat.rumbles, std::vector{PlayerFeedback::Jolt::Blast});
  Explosion(g, kTrue, 118, 228);  // 110 pixels below the player: not felt
  while (g.world.ExplosionOn != 0) Explosion(g, kFalse, 0, 0);
  EXPECT_EQ(plat.rumbles.size(), 1u);
}

// In the fifth minute the supply run skips its outer windows: 100..180 and above 250 remain. A run
// cut off by the end of the last game drops nothing once the aircraft is gone.
TEST_F(FieldEventsTest, TheSupplyRunThinsOutInTheFifthMinuteAndEndsWithTheGame) {
  auto& w = g.world;
  g.timing.GameMinutes = 5;
  AirRaid(g, kFalse, kFalse, kFalse, kTrue);
  while (w.AirRaidOn != 0) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(std::tuple(CountOn(w.HealthCrateOn), CountOn(w.AmmoCrateOn)), std::tuple(6, 1));

  w.HealthCrateOn = {}, w.AmmoCrateOn = {};
  w.AirRaidKind = raid::SupplyRun, w.PlaneX = 150;
  for (int n = 0; n < 5; ++n) AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  EXPECT_EQ(std::tuple(CountOn(w.HealthCrateOn), CountOn(w.AmmoCrateOn)), std::tuple(0, 0));
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
    EXPECT_EQ(std::tuple(CountOn(w.HealthCrateOn), CountOn(w.AmmoCrateOn)),
              std::tuple(healthCrates, ammoCrates));
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
