#include "shell/spawn_step.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "numbers.h"
#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

class SpawnStepTest : public BattleTest {
 protected:
  SpawnStepTest() {
    WriteOtherFile("LVL1.txt", {KeyLine("NA", "Raider"), KeyLine("EE", "2")});
    WriteOtherFile("DEFAULT.txt", {KeyLine("NA", "Recruit")});
    Put(0, 140, 140);
    g.form.InGame = kTrue;
    g.form.StatusField.Resize(300, 78);
  }
  int Enemies() {
    int n = 0;
    for (int i = 1; i < kSoldierSlots; ++i) n += g.world.Soldiers[i].Alive != 0;
    return n;
  }
};

TEST_F(SpawnStepTest, EnemiesFollowThePlayersStrength) {
  for (int minute : {0, 3}) {
    g.timing.GameMinutes = static_cast<int16_t>(minute);
    for (int i = 1; i < kSoldierSlots; ++i) g.world.Soldiers[i].Alive = kFalse;
    g.world.AliveCount = 1;
    SpawnStep(g);
    const Soldier& e = g.world.Soldiers[1];
    ASSERT_EQ(e.Alive, kTrue);
    EXPECT_EQ(e.Name + " " + e.Kind, minute > 2 ? "Raider AiLVL1" : "Raider AiLVL0");
    EXPECT_EQ(e.Power, minute > 2 ? 5 : 3);
    EXPECT_EQ(std::tuple(e.Melee, e.RechargeTime, e.Ammo), std::tuple(2, 15, 10));
  }
}

TEST_F(SpawnStepTest, TheMinutesCapHoldsBackSpawnsUnlessAWaveRuns) {
  g.timing.GameMinutes = 0;
  g.world.AliveCount = 5;  // above the cap of 4
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 0);
  g.world.AliveCount = 4;
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 1);
  g.world.AliveCount = 50, g.timing.WaveCountdown = 30;
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 2);
}

TEST_F(SpawnStepTest, AWaveIsPlacedInOneCallAtItsEntryPoints) {
  g.timing.WaveLeft = 5;
  g.world.AliveCount = 40;
  SpawnStep(g);
  ASSERT_EQ(std::tuple(g.timing.WaveLeft, Enemies()), std::tuple(0, 5));
  EXPECT_EQ(std::tuple(g.world.Soldiers[1].X, g.world.Soldiers[1].Y), std::tuple(130.f, -20.f));
  const Soldier& ring = g.world.Soldiers[4];
  EXPECT_NEAR(std::hypot(ring.X - 140, ring.Y - 140), 210, 0.01);
}

TEST_F(SpawnStepTest, DeathEndsTheGameCountsItAndHandsOverTheScore) {
  g.options.TimesPlayed = 6, g.options.PlayMinutes = 100;
  g.timing.GameMinutes = 4, g.timing.GameSeconds = 30;
  g.world.Score = 480, g.world.GameKills = 7;
  P().Alive = kFalse;
  SpawnStep(g);
  EXPECT_EQ(std::tuple(g.form.InGame, g.form.Paused, g.options.TimesPlayed), std::tuple(0, 0, 7));
  EXPECT_EQ(g.options.PlayMinutes, 105);  // 4:30 counts as five minutes
  EXPECT_EQ(g.world.BonusScore, 7);       // Power 3 adds nothing but the kills
  auto lines = ReadLines(plat.ProgramDir() / "OtherFiles" / "Options.txt");
  ASSERT_TRUE(lines);
  ASSERT_GE(lines->size(), 10u);
  EXPECT_EQ(Num((*lines)[9]), 7);
  EXPECT_TRUE(std::any_of(g.hs.HsScore.begin(), g.hs.HsScore.end(), [](auto& s) { return Num(s) == 487; }));
}

}  // namespace
}  // namespace vorlan::testing
