#include "world/bullets.h"

#include <cmath>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using BulletsTest = WorldTest;

TEST_F(BulletsTest, AngleAndDistanceFollowsTheQuadrantRules) {
  // arctan is scaled by pi x 18, so a 45-degree diagonal reads 44 off the axis.
  EXPECT_EQ(AngleAndDistance(g, 0, 0, 10, 10), 46);
  EXPECT_EQ(g.world.DistResult, 14);
  EXPECT_EQ(AngleAndDistance(g, 0, 0, -10, 10), 134);
  EXPECT_EQ(AngleAndDistance(g, 0, 0, -10, -10), 226);
  EXPECT_EQ(AngleAndDistance(g, 0, 0, 10, -10), 314);
  EXPECT_EQ(AngleAndDistance(g, 5, 5, 9, 5), 0);
  EXPECT_EQ(AngleAndDistance(g, 5, 5, 5, 9), 90);
  EXPECT_EQ(AngleAndDistance(g, 5, 5, 1, 5), 180);
  EXPECT_EQ(AngleAndDistance(g, 5, 5, 5, 1), 270);
  EXPECT_EQ(g.world.DistResult, 4);
  // Coinciding points keep the previous angle; the distance is 0.
  EXPECT_EQ(AngleAndDistance(g, 7, 7, 7, 7), 270);
  EXPECT_EQ(g.world.DistResult, 0);
  // Distances round halves to even: 2.5 gives 2.
  AngleAndDistance(g, 0, 0, 1.5, 2);
  EXPECT_EQ(g.world.DistResult, 2);
}

TEST_F(BulletsTest, FiredBulletsKeepWithinTheSpreadAndRange) {
  P().Facing = 90;
  for (int n = 0; n < 150; ++n) {
    for (auto& b : g.world.Bullets) b.BulletRange = 0;
    FireBullet(g, 0);
    const Bullet& b = g.world.Bullets[0];
    EXPECT_GE(b.BulletAngle, 75);
    EXPECT_LT(b.BulletAngle, 105);
    EXPECT_GE(b.BulletRange, 60);
    EXPECT_LE(b.BulletRange, 67);
    EXPECT_EQ(b.BulletSpeed, 3);
    EXPECT_EQ(b.BulletOwner, 0);
    EXPECT_NEAR(b.BulletDX, std::cos(b.BulletAngle * g.form.DegToRad), 1e-6);
  }
  // Under acid 0 the spread is 30 whatever the player's own is.
  P().Spread = 0;
  g.world.AcidTimer[0] = 100;
  double lo = 1e9, hi = -1e9;
  for (int n = 0; n < 300; ++n) {
    for (auto& b : g.world.Bullets) b.BulletRange = 0;
    FireBullet(g, 0);
    lo = std::min(lo, g.world.Bullets[0].BulletAngle);
    hi = std::max(hi, g.world.Bullets[0].BulletAngle);
  }
  EXPECT_GE(lo, 75);
  EXPECT_LT(lo, 78);
  EXPECT_LT(hi, 105);
  EXPECT_GT(hi, 102);
}

TEST_F(BulletsTest, FiringTakesTheFirstFreeSlotAndNothingWhenAllFly) {
  g.world.Bullets[0].BulletRange = 5;
  g.world.Bullets[1].BulletRange = 0;  // a spent bullet's slot, old values still in it
  g.world.Bullets[1].BulletOwner = 7;
  Enemy(4, 50, 50);
  FireBullet(g, 4);
  EXPECT_EQ(g.world.Bullets[1].BulletOwner, 4);
  EXPECT_GE(g.world.Bullets[1].BulletRange, 20);

  for (auto& b : g.world.Bullets) b.BulletRange = 9;
  auto before = g.world.Bullets;
  FireBullet(g, 0);
  for (int i = 0; i < kBulletSlots; ++i) EXPECT_EQ(g.world.Bullets[i].BulletOwner, before[i].BulletOwner);
  FireBullet(g, 51);  // no such soldier: nothing happens
}

TEST_F(BulletsTest, ABulletRunningOutFallsWhereItStands) {
  g.world.HitHistory[1] = 1;
  Shot(0, 100.4, 60.6, 0, 3, 3);
  Enemy(1, 93, 51);  // the centre is right where the bullet would be after moving 3 pixels
  MoveBullets(g);
  const Bullet& b = g.world.Bullets[0];
  EXPECT_LT(b.BulletRange, 1);
  EXPECT_EQ(b.BulletX, 100.4);
  EXPECT_EQ(GetPixel(g.form.Terain, 100, 61), Rgb(128, 64, 64));
  EXPECT_EQ(g.world.Soldiers[1].Health, 20);
  // The miss entered the player's streak.
  EXPECT_EQ(g.world.HitHistory[1], 0);
  EXPECT_EQ(g.world.HitHistory[2], 1);
}

TEST_F(BulletsTest, APlayerHitHurtsScoresAndKills) {
  Enemy(3, 100, 100).Power = 6;  // centre (110, 110)
  g.world.Soldiers[3].Health = 30;
  g.world.Soldiers[3].Ammo = 1;
  Shot(0, 105, 110, 0, 50, 3);
  MoveBullets(g);
  EXPECT_EQ(g.world.Bullets[0].BulletRange, 0);
  EXPECT_FLOAT_EQ(g.world.Soldiers[3].Health, 21);  // 3 x the shooter's power
  EXPECT_EQ(g.world.Score, 2);                      // (6 - 2) \ 2
  EXPECT_EQ(g.world.HitHistory[1], 1);
  EXPECT_EQ(GetPixel(g.form.Field, 108, 110), Rgb(255, 255, 0));  // the head where it stopped

  g.world.Soldiers[3].Health = 5;
  Shot(0, 105, 110, 0, 50, 3);
  MoveBullets(g);
  EXPECT_EQ(g.world.Soldiers[3].Alive, 0);
  EXPECT_EQ(g.world.Soldiers[3].Health, 0);
  EXPECT_EQ(g.world.GameKills, 1);
  EXPECT_EQ(g.world.ScoreInfoShow, kTrue);
  EXPECT_EQ(g.world.KillsInRowCount, 1);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 0);  // its last round went with it
}

TEST_F(BulletsTest, EnemyBulletsSpareTheirOwnerAndTheirKillsDoNotCount) {
  Enemy(1, 100, 100);
  Shot(0, 105, 110, 1);
  MoveBullets(g);
  EXPECT_EQ(g.world.Soldiers[1].Health, 20);
  EXPECT_GE(g.world.Bullets[0].BulletRange, 1);

  Enemy(2, 200, 100).Health = 4;
  Shot(1, 205, 110, 1);
  MoveBullets(g);
  EXPECT_EQ(g.world.Soldiers[2].Alive, 0);
  EXPECT_EQ(g.world.GameKills, 0);
  EXPECT_EQ(g.world.Score, 0);
}

TEST_F(BulletsTest, SheepHitsHurtAndOnlyThePlayerScores) {
  SheepRec& sh = g.world.Sheep[4];
  sh.SheepAlive = kTrue;
  sh.SheepX = 50;
  sh.SheepY = 50;  // centre (61, 61)
  sh.SheepHealth = 100;
  sh.SheepSpeed = 3;
  Shot(0, 55, 61, 2);
  Enemy(2, 250, 250);
  MoveBullets(g);
  EXPECT_EQ(g.world.Bullets[0].BulletRange, 0);
  EXPECT_EQ(sh.SheepSpeed, 7);
  EXPECT_LE(sh.SheepHealth, 70);
  EXPECT_GE(sh.SheepHealth, 21);
  EXPECT_EQ(g.world.Score, 0);

  sh.SheepHealth = 100;
  Shot(0, 55, 61, 0);
  MoveBullets(g);
  EXPECT_EQ(g.world.Score, 1);
}

TEST_F(BulletsTest, TheCleanerStopsBullets) {
  g.world.CleanerOn = kTrue;
  g.world.CleanerX = 100;
  g.world.CleanerY = 100;  // stopping point (117, 135)
  Enemy(1, 10, 10);
  Shot(0, 110, 135, 0);
  MoveBullets(g);
  EXPECT_EQ(g.world.Bullets[0].BulletRange, 0);
  EXPECT_EQ(g.world.Soldiers[1].Health, 20);
}

TEST_F(BulletsTest, TheLastAngleSurvivesTheBulletPass) {
  // Whatever the pass measured last is what the next reader of AngleResult sees.
  Enemy(1, 200, 40);
  Shot(0, 20, 30, 0);
  MoveBullets(g);
  const Bullet& b = g.world.Bullets[0];
  int16_t dist = g.world.DistResult, angle = g.world.AngleResult;
  AngleAndDistance(g, b.BulletX, b.BulletY, 210, 50);
  EXPECT_EQ(angle, g.world.AngleResult);
  EXPECT_EQ(dist, g.world.DistResult);
}

TEST_F(BulletsTest, DeathLeavesCratesOnlyInsideTheField) {
  Enemy(1, 50, 60).Ammo = 80;
  g.world.Soldiers[1].Health = 0;
  DeathCheck(g, 1);
  ASSERT_EQ(CountOn(g.world.AmmoCrateOn), 1);
  EXPECT_EQ(g.world.AmmoCrateLeft[0], 50);
  EXPECT_GE(g.world.AmmoCrateX[0], 50);
  EXPECT_LE(g.world.AmmoCrateX[0], 64);

  Enemy(2, 295, 60).Health = 0.5f;
  g.world.Soldiers[2].Ammo = 80;
  DeathCheck(g, 2);
  EXPECT_EQ(g.world.Soldiers[2].Alive, 0);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), 1);

  // The player's death counts no kill.
  P().Health = -3;
  DeathCheck(g, 0);
  EXPECT_EQ(P().Alive, 0);
  EXPECT_EQ(g.world.GameKills, 2);
  // A second check in the same frame (melee, then the cleaner) counts no second kill.
  const int crates = CountOn(g.world.AmmoCrateOn);
  DeathCheck(g, 1);
  EXPECT_EQ(g.world.GameKills, 2);
  EXPECT_EQ(g.world.KillsInRowCount, 2);
  EXPECT_EQ(CountOn(g.world.AmmoCrateOn), crates);
  // Health of 1 is alive.
  Enemy(3, 50, 50).Health = 1;
  DeathCheck(g, 3);
  EXPECT_EQ(g.world.Soldiers[3].Alive, kTrue);
}

TEST_F(BulletsTest, AimStreakRewardsRunsOfHits) {
  for (int n = 0; n < 9; ++n) AimStreak(g, kTrue);
  EXPECT_EQ(P().AimExp, 45);
  EXPECT_EQ(g.world.HitHistoryCount, 9);
  AimStreak(g, kFalse);
  EXPECT_EQ(g.world.HitHistoryCount, 8);
  EXPECT_EQ(g.world.HitHistory[0], 0);

  // Past 99 the spread tightens by 3 and the experience starts again.
  P().AimExp = 95;
  AimStreak(g, kTrue);
  EXPECT_EQ(P().AimExp, 0);
  EXPECT_EQ(P().Spread, 27);
  // A spread already below 0 stops improving; the experience is held at 100.
  P().Spread = -3;
  P().AimExp = 99;
  AimStreak(g, kTrue);
  EXPECT_EQ(P().AimExp, 100);
  EXPECT_EQ(P().Spread, -3);

  // Under any acid nothing is recorded.
  auto history = g.world.HitHistory;
  g.world.AcidTimer[3] = 10;
  AimStreak(g, kFalse);
  EXPECT_EQ(g.world.HitHistory, history);
}

}  // namespace
}  // namespace vorlan::testing
