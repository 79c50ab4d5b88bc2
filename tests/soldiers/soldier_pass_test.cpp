#include "soldiers/soldier_pass.h"

#include <cmath>

#include "soldiers/battle_fixture.h"
#include "world/bullets.h"

namespace vorlan::testing {
namespace {

class SoldierPassTest : public BattleTest {
 protected:
  // An enemy standing east of the player at exactly dist pixels (top-left corners).
  Soldier& EnemyEast(int slot, int dist) {
    Soldier& e = Put(slot, 100 + dist, 100);
    e.Ammo = 5;
    return e;
  }
};

TEST_F(SoldierPassTest, WalkOrderAdvancesAndEndsOnTheFirstNonPositiveStep) {
  Soldier& p = Put(0, 100, 100);
  p.WalkDir = 0;
  p.WalkLeft = 2.5;
  SoldierPass(g);
  EXPECT_FLOAT_EQ(p.X, 101);
  SoldierPass(g);
  SoldierPass(g);  // 0.5 left: one more full step overshoots
  EXPECT_FLOAT_EQ(p.X, 103);
  EXPECT_LE(p.WalkLeft, 0);
  SoldierPass(g);
  EXPECT_FLOAT_EQ(p.X, 103);
  EXPECT_EQ(g.world.AliveCount, 1);
}

TEST_F(SoldierPassTest, StraySoldiersArePushedBackTwoPixelsPerAxis) {
  Soldier& p = Put(0, -7, 295);
  SoldierPass(g);
  EXPECT_FLOAT_EQ(p.X, -5);
  EXPECT_FLOAT_EQ(p.Y, 293);
}

TEST_F(SoldierPassTest, EnemyAtExactlyItsRangeNeitherShootsNorMoves) {
  Put(0, 100, 100);
  Soldier& e = EnemyEast(1, 40);
  e.Range = 40;
  e.WalkDir = 33;
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 0);
  EXPECT_EQ(e.WalkLeft, 0);
  EXPECT_EQ(e.WalkDir, 33);
  EXPECT_EQ(e.Facing, 180);
  EXPECT_EQ(g.world.NearestEnemyDist, 40);
}

TEST_F(SoldierPassTest, FullLoadFiresADoubleShotOneBelowASingle) {
  Put(0, 100, 100);
  Soldier& full = EnemyEast(1, 30);
  full.Ammo = 15;  // capacity (16 - 15) x 15
  Soldier& less = Put(2, 100, 130);
  less.Ammo = 14;
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 3);
  EXPECT_EQ(full.Ammo, 13);
  EXPECT_EQ(less.Ammo, 13);
  EXPECT_EQ(full.RechargeLeft, 15);
  SoldierPass(g);  // recharging: no further shots
  EXPECT_EQ(full.Ammo, 13);
}

TEST_F(SoldierPassTest, EnemyOutsideTheFieldHoldsFireAndIsSentInward) {
  Put(0, 100, 100);
  Soldier& e = Put(1, 100, 320);
  e.Ammo = 5;
  e.Range = 400;
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 0);
  EXPECT_FLOAT_EQ(e.Y, 318);  // the push toward the field
  EXPECT_EQ(e.WalkDir, 270);
  EXPECT_GT(e.WalkLeft, 0);
}

TEST_F(SoldierPassTest, MeleeHurtsBothSidesAndHandsOverTheRounds) {
  Soldier& p = Put(0, 100, 100);
  p.Melee = 5;
  p.Power = 10;
  p.Ammo = 10;
  p.RechargeTime = 15;  // cap for melee ammo: (16 - 15) x 30 = 30
  p.Health = 90;
  Soldier& e = EnemyEast(1, 10);
  e.Ammo = 25;
  e.Health = 50;
  e.WalkDir = 0;
  e.WalkLeft = 5;  // one step east first: then 11 pixels away
  SoldierPass(g);
  EXPECT_FLOAT_EQ(e.Health, 48);  // 5 / 5 + 10 / 10
  EXPECT_NEAR(p.Health, 90 - 2.0 / 3, 1e-4);
  EXPECT_EQ(p.Ammo, 30);
  EXPECT_EQ(e.Ammo, 0);
  EXPECT_EQ(p.MeleeExp, 1);
  // Unarmed and walking: the enemy charges the player.
  EXPECT_EQ(e.WalkDir, 180);
  EXPECT_FLOAT_EQ(e.WalkLeft, 11);
}

TEST_F(SoldierPassTest, WeakEnemyInRangeFleesAway) {
  Put(0, 100, 100);
  Soldier& e = EnemyEast(1, 30);
  e.Health = 5;  // below Power x 3
  for (int n = 0; n < 20; ++n) {
    e.X = 130, e.Y = 100, e.WalkLeft = 0;
    SoldierPass(g);
    EXPECT_FLOAT_EQ(e.WalkLeft, 50);
    EXPECT_GE(e.WalkDir >= 270 ? e.WalkDir - 360 : e.WalkDir, -90);
    EXPECT_LE(e.WalkDir >= 270 ? e.WalkDir - 360 : e.WalkDir, 90);
  }
}

TEST_F(SoldierPassTest, DistantEnemyApproachesWithinTenDegrees) {
  Put(0, 100, 100);
  Soldier& e = EnemyEast(1, 100);
  e.Range = 50;
  SoldierPass(g);
  EXPECT_GE(e.WalkDir, 170);
  EXPECT_LE(e.WalkDir, 190);
  EXPECT_GE(e.WalkLeft, 100 - 1);  // the full distance plus 0..9, less this frame's step
  EXPECT_LE(e.WalkLeft, 109);
}

TEST_F(SoldierPassTest, WithThePlayerDeadEnemiesTakeNoDecisions) {
  Soldier& p = Put(0, 100, 100);
  p.Alive = kFalse;
  Soldier& e = EnemyEast(1, 20);
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 0);
  EXPECT_EQ(e.Facing, 0);
  EXPECT_EQ(g.world.NearestEnemyDist, 500);
  EXPECT_EQ(g.world.AliveCount, 1);
}

TEST_F(SoldierPassTest, CratesGoToTheLowestSlotFirstAndRefillOnlyToCapacity) {
  auto& w = g.world;
  Put(0, 0, 0).Alive = kFalse;  // no combat between the two
  Soldier& p = Put(1, 100, 100);
  p.Health = 10;
  Soldier& e = Put(2, 100, 100);
  e.Health = 10;
  e.Ammo = 5;
  w.HealthCrateOn[0] = kTrue;
  w.HealthCrateX[0] = 107;
  w.HealthCrateY[0] = 107;
  p.Ammo = 5;
  w.AmmoCrateOn[3] = kTrue;
  w.AmmoCrateX[3] = 106;
  w.AmmoCrateY[3] = 107;
  w.AmmoCrateLeft[3] = 30;
  g.timing.FramesLastSecond = 0;  // no separation: both stay on the crates
  SoldierPass(g);
  EXPECT_GE(p.Health, 35);  // 25 + up to 90 / 4
  EXPECT_FLOAT_EQ(e.Health, 10);
  EXPECT_EQ(w.HealthCrateOn[0], kFalse);
  EXPECT_EQ(p.Ammo, 15);  // capacity (16 - 15) x 15
  EXPECT_DOUBLE_EQ(w.AmmoCrateLeft[3], 10);  // what the second soldier left
  EXPECT_EQ(e.Ammo, 15);
  EXPECT_EQ(w.AmmoCrateOn[3], kTrue);
  EXPECT_EQ(w.SeparationOff, kTrue);
}

TEST_F(SoldierPassTest, OverlappingSoldiersStepBackAlongTheirHeadings) {
  Put(0, 0, 0).Alive = kFalse;  // no combat; the player's speed 10 still sets the step
  Soldier& a = Put(1, 100, 100);
  a.WalkDir = 0;
  Soldier& b = Put(2, 105, 100);
  b.WalkDir = 180;
  SoldierPass(g);
  EXPECT_NEAR(a.X, 98.75, 1e-4);
  EXPECT_NEAR(b.X, 106.25, 1e-4);
  g.timing.FramesLastSecond = 28;
  SoldierPass(g);
  EXPECT_EQ(g.world.SeparationOff, kTrue);
  g.timing.FramesLastSecond = 33;
  b.X = a.X;
  SoldierPass(g);  // stays off for the rest of the game
  EXPECT_FLOAT_EQ(b.X, a.X);
}

TEST_F(SoldierPassTest, FacingSelectsTheFrameAndKindTheSheet) {
  Surface sheet(21 * 72, 42, 0);
  for (int k = 0; k < 72; ++k) {
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x) SetPixelV(sheet, 21 * k + x, y, Rgb(k + 1, 0, 0));
  }  // mask rows 21..41 stay black: the sprite is opaque everywhere
  g.pics.SheetPlayer = sheet;
  g.pics.SheetAi[2] = sheet;
  for (int k = 0; k < 72; ++k) SetPixelV(g.pics.SheetAi[2], 21 * k, 0, Rgb(k + 1, 200, 0));
  Put(0, 0, 0).Alive = kFalse;  // nobody turns toward a player
  Put(1, 50, 50).Facing = 360;
  Soldier& e = Put(2, 200, 200);
  e.Kind = "AiLVL2";
  Soldier& odd = Put(3, 100, 200);
  odd.Kind = "AiLVL9";
  odd.Facing = 17;
  SoldierPass(g);
  EXPECT_EQ(GetPixel(g.form.Field, 55, 55), Rgb(1, 0, 0));    // 360 shows frame 0
  EXPECT_EQ(GetPixel(g.form.Field, 100, 200), Rgb(4, 0, 0));  // unknown kind: player sheet
  EXPECT_EQ(GetPixel(g.form.Field, 200, 200), Rgb(1, 200, 0));
}

TEST_F(SoldierPassTest, FootprintsOnlyWhereTheSoldierMoved) {
  g.options.OptFootSteps = 0;
  g.pics.FootDC.Resize(4, 4, Rgb(250, 0, 0));
  Soldier& p = Put(0, 100, 100);
  auto prints = [&] {
    int n = 0;
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 320; ++x) n += GetPixel(g.form.Terain, x, y) == Rgb(250, 0, 0);
    return n;
  };
  for (int n = 0; n < 10; ++n) SoldierPass(g);
  EXPECT_EQ(prints(), 4);  // first print after ten frames (the signature starts at 0)
  for (int n = 0; n < 30; ++n) SoldierPass(g);
  EXPECT_EQ(prints(), 4);  // standing still: no more
  p.WalkDir = 0;
  p.WalkLeft = 100;
  for (int n = 0; n < 30; ++n) SoldierPass(g);
  EXPECT_GT(prints(), 4);
}

TEST_F(SoldierPassTest, MeleeExperienceLevelsUpToElevenThenSaturates) {
  Soldier& p = Put(0, 0, 0);
  p.MeleeExp = 99;
  MeleeExperience(g, 1);
  EXPECT_EQ(p.Melee, 1);
  EXPECT_EQ(p.MeleeExp, 0);
  MeleeExperience(g, 0);  // no points, no change
  EXPECT_EQ(p.MeleeExp, 0);
  g.world.AcidTimer[2] = 5;
  MeleeExperience(g, 50);
  EXPECT_EQ(p.MeleeExp, 0);
  g.world.AcidTimer[2] = 0;
  p.Melee = 11;
  p.MeleeExp = 32760;
  MeleeExperience(g, 20);
  EXPECT_EQ(p.Melee, 11);
  EXPECT_EQ(p.MeleeExp, 32767);
}

TEST_F(SoldierPassTest, ProximityExperienceRaisesPowerRangeAndSpeedUntilFourteen) {
  Soldier& p = Put(0, 0, 0);
  p.ProxExp = 96;
  g.world.NearestEnemyDist = 20;  // 80 closer than 100: 4 points
  ProximityExperience(g);
  EXPECT_EQ(g.world.NearestEnemyDist, 80);
  EXPECT_EQ(p.ProxExp, 0);  // level up resets the counter
  EXPECT_EQ(p.Power, 4);
  EXPECT_DOUBLE_EQ(p.Range, 70);
  EXPECT_DOUBLE_EQ(p.Speed, 10.5);
  p.Power = 14;
  p.ProxExp = 99;
  g.world.NearestEnemyDist = 0;
  ProximityExperience(g);
  EXPECT_EQ(p.Power, 14);
  EXPECT_EQ(p.ProxExp, 100);
}

}  // namespace
}  // namespace vorlan::testing
