#include "terrain/new_game.h"

#include <filesystem>

#include "numbers.h"

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {
namespace {

namespace fs = std::filesystem;

class NewGameTest : public BattleTest {
 protected:
  fs::path Pictures() { return plat.ProgramDir() / "Pictures"; }
  void WritePhotos(std::initializer_list<int> maps) {
    fs::create_directories(Pictures());
    for (int n : maps) {
      Surface photo(300, 300);
      for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) SetPixelV(photo, x, y, Rgb(40 * n, x % 200, y % 200));
      ASSERT_TRUE(plat.SaveJpeg(photo, Pictures() / ("Map0" + std::to_string(n) + ".jpg"), 95));
    }
  }
  bool Generated(int n) { return fs::exists(Pictures() / ("Map0" + std::to_string(n) + ".bmp")); }
};

TEST_F(NewGameTest, MapsAreGeneratedOnceAndTheFlagIsSaved) {
  WritePhotos({1, 2, 3, 4});
  g.options.MapsGenerated = 0;
  GenerateMaps(g);
  for (int n = 1; n <= 4; ++n) EXPECT_TRUE(Generated(n)) << n;
  EXPECT_EQ(g.options.MapsGenerated, 1);
  EXPECT_EQ(g.form.StatusMessage, "Map 4/4 - ScaleUp");
  auto options = ReadTextLines(plat.ProgramDir() / "OtherFiles" / "Options.txt");
  ASSERT_TRUE(options.has_value());
  ASSERT_GE(options->size(), 12u);
  EXPECT_EQ(Num((*options)[11]), 1);

  Surface map;
  ASSERT_TRUE(plat.LoadPicture(Pictures() / "Map02.bmp", map));
  EXPECT_EQ(map.Width(), 320);
  // The grained map keeps the photograph's character: red channel 80 in the middle.
  EXPECT_NEAR(RedOf(GetPixel(map, 150, 150)), 80, 12);

  fs::remove(Pictures() / "Map01.bmp");
  GenerateMaps(g);  // the flag says done: nothing is made again
  EXPECT_FALSE(Generated(1));
}

TEST_F(NewGameTest, MissingPhotographSkipsItsMapAndLeavesTheFlagUnset) {
  WritePhotos({1, 3, 4});
  GenerateMaps(g);
  EXPECT_TRUE(Generated(1));
  EXPECT_FALSE(Generated(2));
  EXPECT_TRUE(Generated(4));
  EXPECT_EQ(g.options.MapsGenerated, 0);
}

TEST_F(NewGameTest, NewGameResetsThePlayerAndClearsTheWorld) {
  WriteOtherFile("DEFAULT.txt", {KeyLine("NA", "Sergeant Vell"), KeyLine("OM", "999")});
  auto& w = g.world;
  for (int i = 0; i < kSoldierSlots; ++i) Put(i, 1, 1);
  P().AimExp = 50;
  w.HealthCrateOn[4] = w.AmmoCrateOn[9] = w.AcidOn[3] = w.Sheep[20].SheepAlive = kTrue;
  w.AcidTimer[1] = w.Bullets[200].BulletRange = 300;
  w.CleanerOn = w.AirRaidOn = w.ExplosionOn = w.SeparationOff = kTrue;
  w.GameKills = w.Score = w.BonusScore = w.SnowCount = w.KillsInRowCount = g.timing.GameMinutes = 9;
  w.FireMode = 3;
  g.input.MouseLeft = g.form.Paused = kTrue;
  NewGame(g);
  const Soldier& p = P();
  EXPECT_EQ(p.Alive, kTrue);
  EXPECT_EQ(p.Name, "Sergeant Vell");
  EXPECT_EQ(p.Ammo, 20);
  EXPECT_FLOAT_EQ(p.X + 10, 150);
  EXPECT_EQ(p.Facing, 270);
  EXPECT_EQ(p.AimExp, 0);
  EXPECT_DOUBLE_EQ(p.Range, 60);
  EXPECT_EQ(p.Date, plat.TodayText());
  for (int i = 1; i < kSoldierSlots; ++i) EXPECT_EQ(w.Soldiers[i].Alive, kFalse);
  EXPECT_EQ(w.HealthCrateOn[4] | w.AmmoCrateOn[9] | w.AcidOn[3] | w.Sheep[20].SheepAlive, 0);
  EXPECT_EQ(w.AcidTimer[1] | w.Bullets[200].BulletRange, 0);
  EXPECT_EQ(w.CleanerOn | w.AirRaidOn | w.ExplosionOn | w.SeparationOff, 0);
  EXPECT_EQ(w.GameKills | w.Score | w.BonusScore | w.SnowCount | w.KillsInRowCount | g.timing.GameMinutes, 0);
  EXPECT_EQ(w.FireMode, 1);
  EXPECT_EQ(g.form.InGame, kTrue);
  EXPECT_EQ(g.form.Paused | g.input.MouseLeft, 0);
}

TEST_F(NewGameTest, MissingMapsKeepTheBattlefieldAndItsMarks) {
  // Maps flagged as made but gone: every new game keeps what Terain holds.
  g.options.MapsGenerated = 1;
  GenerateMaps(g);
  SetPixelV(g.form.Terain, 33, 44, Rgb(1, 2, 3));
  for (int n = 0; n < 12; ++n) {
    plat.AdvanceMs(1500);
    NewGame(g);
    ASSERT_EQ(GetPixel(g.form.Terain, 33, 44), Rgb(1, 2, 3));
  }
}

}  // namespace
}  // namespace vorlan::testing
