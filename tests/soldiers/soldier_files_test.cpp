#include "soldiers/soldier_files.h"

#include <cmath>
#include <tuple>

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

class SoldierFilesTest : public BattleTest {
 protected:
  std::string Lookup(const std::string& key) {
    ReadKey(g, "otherfiles", "T", key);
    return g.world.KeyValue;
  }
};

TEST_F(SoldierFilesTest, ReadKeyUsesFixedColumnsLastLineWinsAndStopsAtEnd) {
  const std::string shifted = "SHIFT" + std::string(15, ' ');
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

TEST_F(SoldierFilesTest, DamagedFilesLeaveNumericFieldsAlone) {
  WriteOtherFile("Empty.txt", {"END", KeyLine("OM", "99")});
  g.world.KeyValue = "7";  // the previous lookup's value lands in every field
  SpawnFromFile(g, "Empty");
  EXPECT_EQ(std::tuple(P().Name, P().Ammo), std::tuple("7", 7));

  WriteOtherFile("Bad.txt", {KeyLine("OM", "lots"), KeyLine("DE", "fast"), KeyLine("HT", "1e999"),
                             KeyLine("ED", "99999999"), "\x01\x02\xff"});
  Soldier& b = Put(1, 0, 0);
  b.Alive = kFalse, b.Ammo = 3;
  SpawnFromFile(g, "Bad");
  // Unreadable speed text reads as 0; a power too large for 16 bits saturates.
  EXPECT_EQ(std::tuple(b.Ammo, b.Speed, b.Health, b.Power), std::tuple(3, 0, 50, 32767));
}

// Each enemy takes the first free slot with its file's values, on the ring and a little slower.
TEST_F(SoldierFilesTest, EnemiesArriveOnTheRingUntilTheTableIsFull) {
  WriteOtherFile("LVL1.txt",
                 {KeyLine("NA", "Corporal Brenn"), KeyLine("OM", "12.5"), KeyLine("DE", "9.5"),
                  KeyLine("HT", "40"), KeyLine("EL", "20"), KeyLine("EE", "3"), KeyLine("ED", "4"),
                  KeyLine("GN", "55.25"), KeyLine("EM", "18"), "END", KeyLine("NA", "late")});
  Put(0, 140, 140);
  Put(1, 0, 0);
  for (int n = 2; n < kSoldierSlots; ++n) {
    plat.AdvanceMs(777);
    SpawnEnemy(g);
    const Soldier& s = g.world.Soldiers[n];
    ASSERT_EQ(g.world.SpawnSlot, n);
    EXPECT_NEAR(std::hypot(s.X - 140, s.Y - 140), 210, 0.01);
    EXPECT_TRUE(s.Speed == 9.5 || s.Speed == 8.5 || s.Speed == 7.5) << s.Speed;
  }
  // Ammunition 12.5 halves to even.
  const Soldier& s = g.world.Soldiers[2];
  EXPECT_EQ(std::tuple(s.Name, s.Ammo, s.Health, s.Range), std::tuple("Corporal Brenn", 12, 40, 55.25));
  EXPECT_EQ(std::tuple(s.Spread, s.Melee, s.Power, s.RechargeTime), std::tuple(20, 3, 4, 18));
  SpawnEnemy(g);
  EXPECT_EQ(g.world.SpawnSlot, 51);
}

}  // namespace
}  // namespace vorlan::testing
