#include "world/bullets.h"

#include <tuple>

#include "sound/sound_bank.h"
#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using BulletsTest = WorldTest;

TEST_F(BulletsTest, AngleAndDistanceFollowsTheQuadrantRules) {
  // arctan is scaled by pi x 18, so a 45-degree diagonal reads 44 off the axis.
  EXPECT_EQ(AngleAndDistance(g, 0, 0, 10, 10), 46);
  EXPECT_EQ(g.world.DistResult, 14);
  for (auto [dx, dy, angle] : {std::tuple{-10, 10, 134}, {-10, -10, 226}, {10, -10, 314}, {0, -4, 270}})
    EXPECT_EQ(AngleAndDistance(g, 5, 5, 5 + dx, 5 + dy), angle) << dx << "," << dy;
  // Coinciding points keep the previous angle; the distance is 0.
  EXPECT_EQ(AngleAndDistance(g, 7, 7, 7, 7), 270);
  EXPECT_EQ(g.world.DistResult, 0);
  // Distances round halves to even: 2.5 gives 2.
  AngleAndDistance(g, 0, 0, 1.5, 2);
  EXPECT_EQ(g.world.DistResult, 2);
}

TEST_F(BulletsTest, ABulletRunningOutFallsWhereItStands) {
  g.world.HitHistory[1] = 1;
  Shot(0, 100.4, 60.6, 0, 3);
  Enemy(1, 93, 51);  // the centre is right where the bullet would be after moving 3 pixels
  MoveBullets(g);
  EXPECT_LT(g.world.Bullets[0].BulletRange, 1);
  EXPECT_EQ(g.world.Bullets[0].BulletX, 100.4);
  EXPECT_EQ(GetPixel(g.form.Terain, 100, 61), Rgb(128, 64, 64));
  EXPECT_EQ(g.world.Soldiers[1].Health, 20);
  // The miss entered the player's streak.
  EXPECT_EQ(std::tuple(g.world.HitHistory[1], g.world.HitHistory[2]), std::tuple(0, 1));
}

TEST_F(BulletsTest, APlayerHitHurtsScoresAndKills) {
  Soldier& e = Enemy(3, 100, 100);  // centre (110, 110)
  e.Power = 6, e.Health = 30, e.Ammo = 1;
  Shot(0, 105, 110, 0);
  MoveBullets(g);
  // 3 x the shooter's power in damage; (6 - 2) \ 2 points; a hit in the player's streak.
  EXPECT_EQ(std::tuple(g.world.Bullets[0].BulletRange, e.Health, g.world.Score, g.world.HitHistory[1]),
            std::tuple(0, 21, 2, 1));
  EXPECT_EQ(GetPixel(g.form.Field, 108, 110), Rgb(255, 255, 0));  // the head where it stopped

  e.Health = 5;
  Shot(0, 105, 110, 0);
  MoveBullets(g);
  EXPECT_EQ(std::tuple(e.Alive, e.Health), std::tuple(0, 0));
  EXPECT_EQ(std::tuple(g.world.GameKills, g.world.KillsInRowCount, g.world.ScoreInfoShow),
            std::tuple(1, 1, kTrue));
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 0);  // its last round went with it
}

// Only a hit on the player is felt on a controller.
TEST_F(BulletsTest, EnemyBulletsSpareTheirOwnerAndTheirKillsDoNotCount) {
  Enemy(1, 100, 100);
  Shot(0, 105, 110, 1);
  MoveBullets(g);
  EXPECT_EQ(g.world.Soldiers[1].Health, 20);
  EXPECT_GE(g.world.Bullets[0].BulletRange, 1);
  EXPECT_TRUE(plat.rumbles.empty());
  Shot(0, 145, 150, 1);  // at the player's centre
  MoveBullets(g);
  EXPECT_EQ(plat.rumbles, std::vector{PlayerFeedback::Jolt::Hit});

  Enemy(2, 200, 100).Health = 4;
  Shot(1, 205, 110, 1);
  MoveBullets(g);
  EXPECT_EQ(g.world.Soldiers[2].Alive, 0);
  EXPECT_EQ(std::tuple(g.world.GameKills, g.world.Score), std::tuple(0, 0));
}

TEST_F(BulletsTest, DeathLeavesCratesOnlyInsideTheField) {
  Enemy(1, 50, 60).Ammo = 80;
  g.world.Soldiers[1].Health = 0;
  DeathCheck(g, 1);
  ASSERT_EQ(CountOn(g.world.AmmoCrateOn), 1);
  EXPECT_EQ(g.world.AmmoCrateLeft[0], 50);

  Enemy(2, 295, 60).Health = 0.5f;  // too near the edge for its crate
  g.world.Soldiers[2].Ammo = 80;
  DeathCheck(g, 2);
  EXPECT_EQ(g.world.Soldiers[2].Alive, 0);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 1);

  // The player's death counts no kill.
  P().Health = -3;
  DeathCheck(g, 0);
  EXPECT_EQ(std::tuple(P().Alive, g.world.GameKills), std::tuple(0, 2));
  // A second check in the same frame (melee, then the cleaner) counts no second kill.
  const int crates = CountOn(g.world.AmmoCrateOn);
  DeathCheck(g, 1);
  EXPECT_EQ(std::tuple(g.world.GameKills, g.world.KillsInRowCount), std::tuple(2, 2));
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), crates);
}

// A bullet stops in a sheep, which bolts and bleats or dies; only the player's shots score.
TEST_F(BulletsTest, SheepHits) {
  for (auto [owner, health, alive, score] :
       {std::tuple{0, 200, true, 1}, {1, 200, true, 0}, {0, 20, false, 1}}) {
    SCOPED_TRACE(::testing::Message() << "owner " << owner << ", health " << health);
    g.world.Score = 0;
    Enemy(1, 10, 10);
    SheepRec& sh = Sheep(4, 100, 100, static_cast<int16_t>(health));
    Shot(0, 105, 111, static_cast<int16_t>(owner));
    const int bleats = AudioCount(plat, snd::Sheep1);
    MoveBullets(g);
    EXPECT_EQ(g.world.Bullets[0].BulletRange, 0);
    EXPECT_EQ(sh.SheepSpeed, 7);
    EXPECT_LE(sh.SheepHealth, health - 30);  // 30 and up to 49 more
    EXPECT_GE(sh.SheepHealth, health - 79);
    EXPECT_EQ(sh.SheepAlive != 0, alive);
    EXPECT_EQ(AudioCount(plat, snd::Sheep1) - bleats, alive ? 1 : 0);
    EXPECT_EQ(g.world.Score, score);
  }
}

}  // namespace
}  // namespace vorlan::testing
