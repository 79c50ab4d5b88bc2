#include "soldiers/soldier_pass.h"

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

using SoldierPassTest = BattleTest;

TEST_F(SoldierPassTest, EnemyShootsOnlyInsideRangeAndFieldWithADoubleShotAtFullLoad) {
  Put(0, 100, 100);
  Soldier& exact = Put(1, 140, 100);  // exactly at its range: no shot, no walk order
  exact.Range = 40, exact.Ammo = 5;
  Put(2, 100, 130).Ammo = 15;           // capacity (16 - 15) x 15 = 15: two bullets
  Put(3, 70, 100).Ammo = 14;            // one below capacity: one bullet
  Soldier& outside = Put(4, 100, 320);  // beyond the field: holds fire, ordered inward
  outside.Ammo = 5, outside.Range = 400;
  SoldierPass(g);
  EXPECT_EQ(BulletsInFlight(), 3);
  EXPECT_TRUE(exact.WalkLeft == 0 && exact.Facing == 180);
  EXPECT_TRUE(g.world.Soldiers[2].Ammo == 13 && g.world.Soldiers[3].Ammo == 13);
  EXPECT_TRUE(outside.Y == 318 && outside.WalkDir == 270 && outside.WalkLeft == 10);
  EXPECT_EQ(g.world.NearestEnemyDist, 30);
  SoldierPass(g);  // recharging
  EXPECT_EQ(BulletsInFlight(), 3);
}

TEST_F(SoldierPassTest, MeleeHurtsBothAndTheUnarmedEnemyCharges) {
  Soldier& p = Put(0, 100, 100);
  p.Melee = 5, p.Power = 10, p.Ammo = 10, p.Health = 90;
  Soldier& e = Put(1, 110, 100);
  e.Ammo = 25, e.WalkDir = 0, e.WalkLeft = 5;  // one step east first: 11 pixels apart
  SoldierPass(g);
  EXPECT_FLOAT_EQ(e.Health, 48);  // 5 / 5 + 10 / 10
  EXPECT_NEAR(p.Health, 90 - 2.0 / 3, 1e-4);
  EXPECT_TRUE(p.Ammo == 30 && e.Ammo == 0);  // taken, capped at twice the capacity
  EXPECT_EQ(p.MeleeExp, 1);
  EXPECT_TRUE(e.WalkDir == 180 && e.WalkLeft == 11);
}

TEST_F(SoldierPassTest, ExperienceLevelsUpButNotUnderAcid) {
  Soldier& p = Put(0, 0, 0);
  p.MeleeExp = 99;
  MeleeExperience(g, 1);
  EXPECT_TRUE(p.Melee == 1 && p.MeleeExp == 0);
  g.world.AcidTimer[2] = 5;  // no experience under acid
  MeleeExperience(g, 50);
  EXPECT_EQ(p.MeleeExp, 0);
  g.world.AcidTimer[2] = 0;

  p.ProxExp = 96;
  g.world.NearestEnemyDist = 20;  // 80 closer than 100: 4 points
  ProximityExperience(g);
  EXPECT_EQ(g.world.NearestEnemyDist, 80);
  EXPECT_TRUE(p.ProxExp == 0 && p.Power == 4 && p.Range == 70 && p.Speed == 10.5);
}

}  // namespace
}  // namespace vorlan::testing
