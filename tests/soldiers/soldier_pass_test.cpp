#include "soldiers/soldier_pass.h"

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

using SoldierPassTest = BattleTest;

TEST_F(SoldierPassTest, EnemyShootsOnlyInsideRangeAndFieldWithADoubleShotAtFullLoad) {
  Put(0, 100, 100);
  Soldier& exact = Put(1, 140, 100);  // exactly at its range: no shot, no walk order
  exact.Range = 40;
  exact.Ammo = 5;
  Soldier& full = Put(2, 100, 130);  // capacity (16 - 15) x 15 = 15: two bullets
  full.Ammo = 15;
  Soldier& less = Put(3, 70, 100);  // one below capacity: one bullet
  less.Ammo = 14;
  Soldier& outside = Put(4, 100, 320);  // beyond the field: holds fire, ordered inward
  outside.Ammo = 5;
  outside.Range = 400;
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 3);
  EXPECT_EQ(exact.WalkLeft, 0);
  EXPECT_EQ(exact.Facing, 180);
  EXPECT_EQ(full.Ammo, 13);
  EXPECT_EQ(less.Ammo, 13);
  EXPECT_FLOAT_EQ(outside.Y, 318);
  EXPECT_EQ(outside.WalkDir, 270);
  EXPECT_FLOAT_EQ(outside.WalkLeft, 10);
  EXPECT_EQ(g.world.NearestEnemyDist, 30);
  SoldierPass(g);  // recharging
  EXPECT_EQ(BulletsInFlight(), 3);
}

TEST_F(SoldierPassTest, MeleeHurtsBothAndTheUnarmedEnemyCharges) {
  Soldier& p = Put(0, 100, 100);
  p.Melee = 5;
  p.Power = 10;
  p.Ammo = 10;
  p.Health = 90;
  Soldier& e = Put(1, 110, 100);
  e.Ammo = 25;
  e.WalkDir = 0;
  e.WalkLeft = 5;  // one step east first: 11 pixels apart
  SoldierPass(g);
  EXPECT_FLOAT_EQ(e.Health, 48);  // 5 / 5 + 10 / 10
  EXPECT_NEAR(p.Health, 90 - 2.0 / 3, 1e-4);
  EXPECT_EQ(p.Ammo, 30);  // capped at twice the capacity
  EXPECT_EQ(e.Ammo, 0);
  EXPECT_EQ(p.MeleeExp, 1);
  EXPECT_EQ(e.WalkDir, 180);
  EXPECT_FLOAT_EQ(e.WalkLeft, 11);
}

TEST_F(SoldierPassTest, WeakEnemiesFleeDistantOnesApproachAndNobodyDecidesForTheDead) {
  Put(0, 100, 100);
  Soldier& weak = Put(1, 130, 100);
  weak.Health = 5;  // below Power x 3
  weak.Ammo = 5;
  Soldier& far = Put(2, 100, 200);
  far.Range = 50;
  far.Ammo = 5;
  for (int n = 0; n < 20; ++n) {
    weak.X = 130, weak.WalkLeft = 0, far.Y = 200, far.WalkLeft = 0;
    SoldierPass(g);
    const int away = weak.WalkDir >= 270 ? weak.WalkDir - 360 : weak.WalkDir;
    EXPECT_FLOAT_EQ(weak.WalkLeft, 50);
    EXPECT_TRUE(away >= -90 && away <= 90) << weak.WalkDir;
    EXPECT_TRUE(far.WalkDir >= 260 && far.WalkDir <= 280) << far.WalkDir;
    EXPECT_TRUE(far.WalkLeft >= 99 && far.WalkLeft <= 109) << far.WalkLeft;
  }
  P().Alive = kFalse;
  const int16_t facing = far.Facing;
  far.Y = 120;
  SoldierPass(g);
  EXPECT_EQ(far.Facing, facing);
  EXPECT_EQ(g.world.NearestEnemyDist, 500);
  EXPECT_EQ(g.world.AliveCount, 2);
}

TEST_F(SoldierPassTest, CratesGoToTheLowestSlotAndAmmoOnlyToCapacity) {
  auto& w = g.world;
  Put(0, 0, 0).Alive = kFalse;  // no combat between the two
  g.timing.FramesLastSecond = 0;  // nor separation
  Soldier& a = Put(1, 100, 100);
  Soldier& b = Put(2, 100, 100);
  a.Health = b.Health = 10;
  a.Ammo = b.Ammo = 5;
  w.HealthCrateOn[0] = kTrue;
  w.HealthCrateX[0] = w.HealthCrateY[0] = 107;
  w.AmmoCrateOn[3] = kTrue;
  w.AmmoCrateX[3] = 106;
  w.AmmoCrateY[3] = 107;
  w.AmmoCrateLeft[3] = 30;
  SoldierPass(g);
  EXPECT_GE(a.Health, 35);  // 25 + up to 90 / 4
  EXPECT_FLOAT_EQ(b.Health, 10);
  EXPECT_EQ(w.HealthCrateOn[0], kFalse);
  EXPECT_EQ(a.Ammo, 15);
  EXPECT_EQ(b.Ammo, 15);
  EXPECT_DOUBLE_EQ(w.AmmoCrateLeft[3], 10);
  EXPECT_EQ(w.AmmoCrateOn[3], kTrue);
  EXPECT_EQ(w.SeparationOff, kTrue);
}

TEST_F(SoldierPassTest, OverlappingSoldiersStepBackUntilTheFrameRateDrops) {
  Put(0, 0, 0).Alive = kFalse;  // the player's speed 10 still sets the step
  Soldier& a = Put(1, 100, 100);
  Soldier& b = Put(2, 105, 100);
  b.WalkDir = 180;
  SoldierPass(g);
  EXPECT_NEAR(a.X, 98.75, 1e-4);
  EXPECT_NEAR(b.X, 106.25, 1e-4);
  g.timing.FramesLastSecond = 28;
  SoldierPass(g);
  g.timing.FramesLastSecond = 33;
  b.X = a.X;
  SoldierPass(g);  // off for the rest of the game
  EXPECT_FLOAT_EQ(b.X, a.X);
}

TEST_F(SoldierPassTest, FacingSelectsTheFrameAndKindTheSheet) {
  Surface sheet(21 * 72, 42, 0);  // mask rows stay black: opaque everywhere
  for (int k = 0; k < 72; ++k)
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x) SetPixelV(sheet, 21 * k + x, y, Rgb(k + 1, 0, 0));
  g.pics.SheetPlayer = sheet;
  g.pics.SheetAi[2] = sheet;
  SetPixelV(g.pics.SheetAi[2], 0, 0, Rgb(1, 200, 0));
  Put(0, 0, 0).Alive = kFalse;
  Put(1, 50, 50).Facing = 360;
  Put(2, 200, 200).Kind = "AiLVL2";
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
    for (Color c : g.form.Terain.Pixels()) n += c == Rgb(250, 0, 0);
    return n;
  };
  for (int n = 0; n < 40; ++n) SoldierPass(g);
  EXPECT_EQ(prints(), 4);  // one 2 x 2 print, then nothing while standing
  p.WalkLeft = 100;
  for (int n = 0; n < 30; ++n) SoldierPass(g);
  EXPECT_GT(prints(), 4);
}

TEST_F(SoldierPassTest, ExperienceLevelsUpAndSaturates) {
  Soldier& p = Put(0, 0, 0);
  p.MeleeExp = 99;
  MeleeExperience(g, 1);
  EXPECT_EQ(p.Melee, 1);
  EXPECT_EQ(p.MeleeExp, 0);
  g.world.AcidTimer[2] = 5;  // no experience under acid
  MeleeExperience(g, 50);
  EXPECT_EQ(p.MeleeExp, 0);
  g.world.AcidTimer[2] = 0;
  p.Melee = 11;
  p.MeleeExp = 32760;
  MeleeExperience(g, 20);
  EXPECT_EQ(p.MeleeExp, 32767);

  p.ProxExp = 96;
  g.world.NearestEnemyDist = 20;  // 80 closer than 100: 4 points
  ProximityExperience(g);
  EXPECT_EQ(g.world.NearestEnemyDist, 80);
  EXPECT_EQ(p.ProxExp, 0);
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
