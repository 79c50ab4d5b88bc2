#include "soldiers/soldier_pass.h"

#include <algorithm>
#include <tuple>

#include "soldiers/battle_fixture.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"

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
  EXPECT_EQ(std::tuple(exact.WalkLeft, exact.Facing), std::tuple(0, 180));
  EXPECT_EQ(std::tuple(g.world.Soldiers[2].Ammo, g.world.Soldiers[3].Ammo), std::tuple(13, 13));
  EXPECT_EQ(std::tuple(outside.Y, outside.WalkDir, outside.WalkLeft), std::tuple(318, 270, 10));
  EXPECT_EQ(g.world.NearestEnemyDist, 30);
}

TEST_F(SoldierPassTest, MeleeHurtsBothAndTheUnarmedEnemyCharges) {
  Soldier& p = Put(0, 100, 100);
  p.Melee = 5, p.Power = 10, p.Ammo = 10, p.Health = 90;
  Soldier& e = Put(1, 110, 100);
  e.Ammo = 25, e.WalkDir = 0, e.WalkLeft = 5;  // one step east first: 11 pixels apart
  SoldierPass(g);
  EXPECT_FLOAT_EQ(e.Health, 48);  // 5 / 5 + 10 / 10
  EXPECT_NEAR(p.Health, 90 - 2.0 / 3, 1e-4);
  // The rounds are taken, capped at twice the capacity.
  EXPECT_EQ(std::tuple(p.Ammo, e.Ammo, p.MeleeExp), std::tuple(30, 0, 1));
  EXPECT_EQ(std::tuple(e.WalkDir, e.WalkLeft), std::tuple(180, 11));
}

// Where a lone enemy with a range of 40 walks after one pass with the player at (100, 100): flee
// when hurt within range, approach from beyond it, keep an order already given, charge when unarmed.
TEST_F(SoldierPassTest, EnemyWalkOrders) {
  struct Case {
    const char* what;
    float x, health;
    int16_t ammo, walkDir;
    float walkLeft;
    int dirFrom, dirTo;  // the heading lies in [from, to] (degrees, either side of 0)
    float leftFrom, leftTo;
  };
  const Case cases[] = {
      {"flees when hurt inside its range", 130, 5, 5, 0, 0, -90, 89, 50, 50},
      {"approaches from beyond its range", 200, 50, 5, 0, 0, 170, 189, 100, 109},
      {"keeps walking an order", 200, 50, 5, 90, 30, 90, 90, 29, 29},
      {"charges when unarmed", 200, 50, 0, 90, 30, 178, 182, 99, 101},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put(0, 100, 100);
    Soldier& e = Put(1, c.x, 100);
    e.Health = c.health, e.Range = 40, e.Ammo = c.ammo, e.WalkDir = c.walkDir, e.WalkLeft = c.walkLeft;
    e.RechargeLeft = 9;  // holds its fire
    SoldierPass(g);
    EXPECT_LE(((e.WalkDir - c.dirFrom) % 360 + 360) % 360, c.dirTo - c.dirFrom) << e.WalkDir;
    EXPECT_GE(e.WalkLeft, c.leftFrom);
    EXPECT_LE(e.WalkLeft, c.leftTo);
  }
}

TEST_F(SoldierPassTest, CratesHealTheHurtFillUpToCapacityAndCallNeedyEnemies) {
  auto& w = g.world;
  Soldier& p = Put(0, 100, 100);
  p.Health = 50, p.Ammo = 10;  // capacity (16 - 15) x 15 = 15
  w.HealthCrateOn[0] = kTrue, w.HealthCrateX[0] = 107, w.HealthCrateY[0] = 107;
  w.AmmoCrateOn[0] = kTrue, w.AmmoCrateX[0] = 106, w.AmmoCrateY[0] = 107, w.AmmoCrateLeft[0] = 20;
  SoldierPass(g);
  EXPECT_GE(p.Health, 75);  // 25 and up to a quarter of Power x 30
  EXPECT_LE(p.Health, 97);
  // The rest of the rounds stays in the crate; an emptied crate is gone.
  EXPECT_EQ(std::tuple(w.HealthCrateOn[0], p.Ammo, w.AmmoCrateOn[0], w.AmmoCrateLeft[0]),
            std::tuple(0, 15, kTrue, 15));
  w.AmmoCrateLeft[0] = 3;
  p.Ammo = 10;
  SoldierPass(g);
  EXPECT_EQ(std::tuple(p.Ammo, w.AmmoCrateOn[0]), std::tuple(13, 0));
  EXPECT_EQ(std::tuple(AudioCount(plat, snd::Health), AudioCount(plat, snd::Ammo)), std::tuple(1, 1));

  // Far from the player and out of its range: a hurt enemy heads for the health crate, one low
  // on rounds for the ammunition crate, which it looks at last.
  w.HealthCrateOn[0] = kTrue, w.HealthCrateX[0] = 147, w.HealthCrateY[0] = 207;  // centre (150, 210)
  Soldier& hurt = Put(1, 200, 200);
  hurt.Health = 5, hurt.Range = 20, hurt.Ammo = 10;
  w.AmmoCrateOn[0] = kTrue, w.AmmoCrateX[0] = 206, w.AmmoCrateY[0] = 57;  // centre (210, 60)
  Soldier& empty = Put(2, 30, 200);
  empty.Range = 20, empty.Ammo = 5;
  SoldierPass(g);
  EXPECT_EQ(std::tuple(hurt.WalkDir, hurt.WalkLeft), std::tuple(180, 60));
  const int16_t toCrate = AngleAndDistance(g, 40, 210, 210, 60);
  EXPECT_EQ(std::tuple(empty.WalkDir, empty.WalkLeft), std::tuple(toCrate, w.DistResult));
}

TEST_F(SoldierPassTest, TheCleanerRunsOverSoldiersAndTheSheepOfTheSameSlot) {
  auto& w = g.world;
  Soldier& p = Put(0, 100, 100);
  Soldier& far = Put(1, 250, 250);
  SheepRec& sheep = Sheep(0, 95, 100, 100);
  w.CleanerOn = kTrue, w.CleanerX = 83, w.CleanerY = 68;  // its blade at (100, 100)
  SoldierPass(g);
  EXPECT_EQ(std::tuple(p.Y, p.Health, far.Health), std::tuple(102, 48, 50));
  EXPECT_EQ(std::tuple(sheep.SheepY, sheep.SheepHealth), std::tuple(102, 96));
  EXPECT_EQ(AudioCount(plat, snd::BloodHit), 2);
}

TEST_F(SoldierPassTest, FootprintsEveryTenthFrameOnlyWhereTheSoldierMoved) {
  constexpr Color kPrint = Rgb(200, 100, 50);
  g.options.OptFootSteps = 0;
  g.pics.FootDC = Surface(4, 4, kPrint);
  Soldier& p = Put(0, 100, 100);
  auto printed = [&] {
    return std::count(g.form.Terain.Pixels().begin(), g.form.Terain.Pixels().end(), kPrint);
  };
  for (int f = 0; f < 9; ++f) SoldierPass(g);
  EXPECT_EQ(printed(), 0);
  SoldierPass(g);
  EXPECT_EQ(printed(), 4) << "one 2 x 2 print";
  for (int f = 0; f < 20; ++f) SoldierPass(g);
  EXPECT_EQ(printed(), 4) << "standing still leaves no more";
  p.X = 130;
  SoldierPass(g);
  EXPECT_EQ(printed(), 8);
}

}  // namespace
}  // namespace vorlan::testing
