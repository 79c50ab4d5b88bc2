#include "shell/spawn_step.h"

#include <cmath>

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
    EXPECT_TRUE(e.Range > 40 && e.Range <= 60 && e.Health >= 9 && e.Health < 36) << e.Range << " " << e.Health;
    EXPECT_TRUE(e.Melee == 2 && e.RechargeTime == 15 && e.Ammo == 10);
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
  g.world.AliveCount = 50;
  g.timing.WaveCountdown = 30;
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 2);
  g.timing.WaveCountdown = 0;
  g.timing.GameMinutes = 18;  // no cap at all in minute 18
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 3);
  g.timing.GameMinutes = 25;
  SpawnStep(g);
  EXPECT_EQ(Enemies(), 3);
}

TEST_F(SpawnStepTest, AWaveIsPlacedInOneCallAtItsEntryPoints) {
  g.timing.WaveLeft = 5;
  g.world.AliveCount = 40;
  SpawnStep(g);
  EXPECT_EQ(g.timing.WaveLeft, 0);
  ASSERT_EQ(Enemies(), 5);
  auto at = [&](int slot, float x, float y) {
    EXPECT_TRUE(g.world.Soldiers[slot].X == x && g.world.Soldiers[slot].Y == y) << slot;
  };
  at(1, 130, -20);
  at(2, 110, 320);
  at(3, 90, 320);
  at(5, 20, -20);
  const Soldier& ring = g.world.Soldiers[4];
  EXPECT_NEAR(std::hypot(ring.X - 140, ring.Y - 140), 210, 0.01);
  for (int i = 1; i <= 5; ++i) {
    const Soldier& s = g.world.Soldiers[i];
    EXPECT_TRUE(s.Speed >= 7 && s.Speed <= 11 && s.Ammo >= 8 && s.Ammo <= 17) << i;
  }
}

TEST_F(SpawnStepTest, AFullTableKeepsTheRestOfTheWaveForLater) {
  for (int i = 1; i < kSoldierSlots - 2; ++i) Put(i, 1, 1).Name = "old";
  g.timing.WaveLeft = 5;
  SpawnStep(g);
  EXPECT_TRUE(Enemies() == 50 && g.timing.WaveLeft == 3 && g.world.SpawnSlot == 51);
  for (int i = 1; i < kSoldierSlots - 2; ++i) EXPECT_EQ(g.world.Soldiers[i].Name, "old");
}

TEST_F(SpawnStepTest, DeathEndsTheGameCountsItAndHandsOverTheScore) {
  g.options.TimesPlayed = 6;
  g.options.PlayMinutes = 100;
  g.timing.GameMinutes = 4;
  g.timing.GameSeconds = 30;
  g.world.Score = 480;
  g.world.GameKills = 7;
  P().Alive = kFalse;
  SpawnStep(g);
  EXPECT_TRUE(g.form.InGame == 0 && g.form.Paused == 0 && g.options.TimesPlayed == 7);
  EXPECT_EQ(g.options.PlayMinutes, 105);  // 4:30 counts as five minutes
  EXPECT_EQ(g.world.BonusScore, 7);       // Power 3 adds nothing but the kills
  auto lines = ReadTextLines(plat.ProgramDir() / "OtherFiles" / "Options.txt");
  ASSERT_TRUE(lines && lines->size() >= 10);
  EXPECT_EQ(Num((*lines)[9]), 7);
  bool listed = false;
  for (const auto& s : g.hs.HsScore) listed |= Num(s) == 487;
  EXPECT_TRUE(listed);

  // The spawn step went on after the game: the dead player's slot took the new enemy.
  EXPECT_EQ(P().Name, "Raider");
  // A game ending at 4:29 adds four minutes.
  g.form.InGame = kTrue;
  P().Alive = kFalse;
  g.timing.GameSeconds = 29;
  SpawnStep(g);
  EXPECT_EQ(g.options.PlayMinutes, 109);
}

TEST_F(SpawnStepTest, StatusPanelDrawsFullAmmoBarAndComputesTheBonus) {
  // Bar pictures: empty rows in dark grey, filled rows in a bright colour.
  Surface bar(300, 20, Rgb(20, 20, 20));
  for (int y = 10; y < 20; ++y)
    for (int x = 0; x < 300; ++x) SetPixelV(bar, x, y, Rgb(0, 250, 0));
  g.pics.PicStatusAmmo = bar;
  g.pics.PicStatusHealth = bar;
  Soldier& p = P();
  p.Ammo = 40;  // above the capacity of 30
  p.Health = 30;
  p.Power = 5;
  p.Spread = 27;
  p.RechargeTime = 14;
  p.Melee = 2;
  g.world.GameKills = 3;
  StatusPanel(g);
  const Surface& f = g.form.StatusField;
  EXPECT_EQ(GetPixel(f, 297, 15), Rgb(0, 250, 0));
  EXPECT_EQ(GetPixel(f, 298, 15), Rgb(20, 20, 20));
  // Health bar: nearest(245 / 150 x 30 + 53) = 102 pixels.
  EXPECT_EQ(GetPixel(f, 101, 5), Rgb(0, 250, 0));
  EXPECT_EQ(GetPixel(f, 102, 5), Rgb(20, 20, 20));
  // (10 - 9 + 5 + 6 + 2) x 2 + 3
  EXPECT_EQ(g.world.BonusScore, 31);
  EXPECT_EQ(f.foreColor, 0x800000u);
}

}  // namespace
}  // namespace vorlan::testing
