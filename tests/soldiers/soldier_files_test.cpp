#include "soldiers/soldier_files.h"

#include <cmath>

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

class SoldierFilesTest : public BattleTest {
 protected:
  SoldierFilesTest() {
    WriteOtherFile("LVL1.txt",
                   {KeyLine("NA", "Corporal Brenn"), KeyLine("OM", "12.5"), KeyLine("DE", "9.5"),
                    KeyLine("HT", "40"), KeyLine("EL", "20"), KeyLine("EE", "3"), KeyLine("ED", "4"),
                    KeyLine("GN", "55.25"), KeyLine("EM", "18"), "END", KeyLine("NA", "late")});
  }
  std::string Lookup(const std::string& key) {
    ReadKey(g, "otherfiles", "T", key);
    return g.world.KeyValue;
  }
};

TEST_F(SoldierFilesTest, ReadKeyUsesFixedColumnsLastLineWinsAndStopsAtEnd) {
  std::string shifted = "SHIFT";
  shifted.resize(20, ' ');
  WriteOtherFile("T.txt", {KeyLine("  NA  ", " first "), KeyLine("NA", "second"),
                           KeyLine("LONG", "abcdefghijklmnopqrstuvwxyz"), shifted + "Xvalue", "END",
                           KeyLine("NA", "third")});
  EXPECT_EQ(Lookup("NA"), "second");
  EXPECT_EQ(Lookup("LONG"), "abcdefghijklmnopqrst");  // columns 22..41 only
  EXPECT_EQ(Lookup("SHIFT"), "value");                // a value from column 21 loses a letter
  EXPECT_EQ(Lookup("na"), "value");                   // keys are case-sensitive: kept
  ReadKey(g, "otherfiles", "Missing", "NA");
  ReadKey(g, "..", "..\\..\\etc\\passwd", "root");  // leads out of the game's folders
  EXPECT_EQ(g.world.KeyValue, "value");
}

TEST_F(SoldierFilesTest, SpawnFromFileFillsTheFirstFreeSlot) {
  Put(0, 0, 0);
  Put(1, 0, 0);
  SpawnFromFile(g, "LVL1");
  ASSERT_EQ(g.world.SpawnSlot, 2);
  const Soldier& s = g.world.Soldiers[2];
  EXPECT_EQ(s.Alive, kTrue);
  EXPECT_EQ(s.Name, "Corporal Brenn");
  EXPECT_EQ(s.Ammo, 12);  // halves to even
  EXPECT_DOUBLE_EQ(s.Speed, 9.5);
  EXPECT_FLOAT_EQ(s.Health, 40);
  EXPECT_EQ(s.Spread + s.Melee + s.Power + s.RechargeTime, 20 + 3 + 4 + 18);
  EXPECT_DOUBLE_EQ(s.Range, 55.25);
}

TEST_F(SoldierFilesTest, DamagedFilesLeaveNumericFieldsAlone) {
  WriteOtherFile("Empty.txt", {"END", KeyLine("OM", "99")});
  g.world.KeyValue = "7";  // the previous lookup's value lands in every field
  SpawnFromFile(g, "Empty");
  EXPECT_EQ(P().Name, "7");
  EXPECT_EQ(P().Ammo, 7);

  WriteOtherFile("Bad.txt", {KeyLine("OM", "lots"), KeyLine("DE", "fast"), KeyLine("HT", "1e999"),
                             KeyLine("ED", "99999999"), "\x01\x02\xff"});
  Soldier& b = Put(1, 0, 0);
  b.Alive = kFalse;
  b.Ammo = 3;
  SpawnFromFile(g, "Bad");
  EXPECT_EQ(b.Ammo, 3);
  EXPECT_DOUBLE_EQ(b.Speed, 0);  // unreadable speed text reads as 0
  EXPECT_FLOAT_EQ(b.Health, 50);
  EXPECT_EQ(b.Power, 32767);
}

TEST_F(SoldierFilesTest, EnemiesArriveOnTheRingSlightlySlowerUntilTheTableIsFull) {
  Put(0, 140, 140);
  for (int n = 1; n < kSoldierSlots; ++n) {
    plat.AdvanceMs(777);
    SpawnEnemy(g);
    const Soldier& s = g.world.Soldiers[n];
    ASSERT_EQ(g.world.SpawnSlot, n);
    EXPECT_NEAR(std::hypot(s.X - 140, s.Y - 140), 210, 0.01);
    EXPECT_TRUE(s.Speed == 9.5 || s.Speed == 8.5 || s.Speed == 7.5) << s.Speed;
  }
  SpawnEnemy(g);
  EXPECT_EQ(g.world.SpawnSlot, 51);
}

}  // namespace
}  // namespace vorlan::testing
