#include "soldiers/soldier_files.h"

#include <cmath>

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

class SoldierFilesTest : public BattleTest {
 protected:
  void WriteSoldier(const std::string& name) {
    WriteOtherFile(name + ".txt", {KeyLine("NA", "Corporal Brenn"), KeyLine("OM", "12.5"),
                                   KeyLine("DE", "9.5"), KeyLine("HT", "40"), KeyLine("EL", "20"),
                                   KeyLine("EE", "3"), KeyLine("ED", "4"), KeyLine("GN", "55.25"),
                                   KeyLine("EM", "18"), "END", KeyLine("NA", "after the end")});
  }
  std::string Lookup(const std::string& key) {
    ReadKey(g, "otherfiles", "T", key);
    return g.world.KeyValue;
  }
};

TEST_F(SoldierFilesTest, ReadKeyUsesFixedColumnsLastLineWinsAndStopsAtEnd) {
  std::string longValue = KeyLine("LONG", "abcdefghijklmnopqrstuvwxyz");
  std::string shifted = "SHIFT";
  shifted.resize(20, ' ');
  shifted += "Xvalue";  // value starting in column 21 loses its first character
  WriteOtherFile("T.txt", {KeyLine("  NA  ", "  first  "), KeyLine("NA", "second"), longValue,
                           shifted, KeyLine("na", "lower"), "END", KeyLine("NA", "third")});
  EXPECT_EQ(Lookup("NA"), "second");
  EXPECT_EQ(Lookup("LONG"), "abcdefghijklmnopqrst");  // columns 22..41 only
  EXPECT_EQ(Lookup("SHIFT"), "value");
  EXPECT_EQ(Lookup("na"), "lower");  // keys are case-sensitive
  // A key that is not there (or only after END) leaves the previous lookup's value.
  EXPECT_EQ(Lookup("XX"), "lower");
  g.world.KeyValue = "kept";
  ReadKey(g, "otherfiles", "Missing", "NA");
  EXPECT_EQ(g.world.KeyValue, "kept");
  // A name that would lead out of the game's folders reads nothing.
  ReadKey(g, "..", "..\\..\\etc\\passwd", "root");
  EXPECT_EQ(g.world.KeyValue, "kept");
}

TEST_F(SoldierFilesTest, SpawnFromFileFillsFirstFreeSlotWithConvertedValues) {
  WriteSoldier("LVL1");
  Put(0, 0, 0);
  Put(1, 0, 0);
  SpawnFromFile(g, "LVL1");
  ASSERT_EQ(g.world.SpawnSlot, 2);
  const Soldier& s = g.world.Soldiers[2];
  EXPECT_EQ(s.Alive, kTrue);
  EXPECT_EQ(s.Name, "Corporal Brenn");
  EXPECT_EQ(s.Ammo, 12);  // nearest, halves to even
  EXPECT_DOUBLE_EQ(s.Speed, 9.5);
  EXPECT_FLOAT_EQ(s.Health, 40);
  EXPECT_EQ(s.Spread, 20);
  EXPECT_EQ(s.Melee, 3);
  EXPECT_EQ(s.Power, 4);
  EXPECT_DOUBLE_EQ(s.Range, 55.25);
  EXPECT_EQ(s.RechargeTime, 18);
}

TEST_F(SoldierFilesTest, DamagedFilesLeaveNumericFieldsAloneAndNeverCrash) {
  // First line END: every field gets what KeyValue held before; text is no number for Ammo.
  WriteOtherFile("Empty.txt", {"END", KeyLine("OM", "99")});
  g.world.KeyValue = "7";
  SpawnFromFile(g, "Empty");
  const Soldier& a = g.world.Soldiers[0];
  EXPECT_EQ(a.Name, "7");
  EXPECT_EQ(a.Ammo, 7);
  EXPECT_EQ(a.Power, 7);

  WriteOtherFile("Bad.txt", {KeyLine("NA", "x"), KeyLine("OM", "lots"), KeyLine("DE", "fast"),
                             KeyLine("HT", "1e999"), KeyLine("ED", "99999999"), "\x01\x02\xff"});
  Soldier& b = Put(1, 0, 0);
  b.Alive = kFalse;
  b.Ammo = 3;
  b.Health = 10;
  SpawnFromFile(g, "Bad");
  EXPECT_EQ(b.Ammo, 3);
  EXPECT_DOUBLE_EQ(b.Speed, 0);  // unreadable speed text reads as 0
  EXPECT_FLOAT_EQ(b.Health, 10);
  EXPECT_EQ(b.Power, 32767);     // saturates
}

TEST_F(SoldierFilesTest, FullTableOnlyReportsSlot51) {
  WriteSoldier("LVL1");
  for (int i = 0; i < kSoldierSlots; ++i) Put(i, 5, 5).Name = "old";
  SpawnEnemy(g);
  EXPECT_EQ(g.world.SpawnSlot, 51);
  for (const auto& s : g.world.Soldiers) EXPECT_EQ(s.Name, "old");
}

TEST_F(SoldierFilesTest, EnemiesArriveOnTheRingSlightlySlower) {
  WriteSoldier("LVL1");
  Put(0, 140, 140);
  for (int n = 0; n < 20; ++n) {
    plat.AdvanceMs(777);
    SpawnEnemy(g);
    const Soldier& s = g.world.Soldiers[g.world.SpawnSlot];
    EXPECT_NEAR(std::hypot(s.X - 140, s.Y - 140), 210, 0.01);
    EXPECT_TRUE(s.Speed == 9.5 || s.Speed == 8.5 || s.Speed == 7.5) << s.Speed;
  }
}

TEST_F(SoldierFilesTest, EnemyTakingThePlayersSlotBringsADefaultSoldier) {
  WriteSoldier("LVL1");
  WriteOtherFile("DEFAULT.txt", {KeyLine("NA", "Recruit")});
  SpawnEnemy(g);
  EXPECT_EQ(g.world.Soldiers[0].Name, "Corporal Brenn");
  EXPECT_EQ(g.world.Soldiers[1].Name, "Recruit");
  EXPECT_EQ(g.world.SpawnSlot, 1);
}

TEST_F(SoldierFilesTest, PausedGamePlacesNobody) {
  WriteSoldier("LVL1");
  g.form.Paused = kTrue;
  SpawnEnemy(g);
  EXPECT_EQ(g.world.Soldiers[0].Alive, kFalse);
}

}  // namespace
}  // namespace vorlan::testing
