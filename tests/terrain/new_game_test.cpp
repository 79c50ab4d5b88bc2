#include "terrain/new_game.h"

#include <filesystem>
#include <tuple>

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
  WritePhotos({1, 3, 4});
  g.options.MapsGenerated = 0;
  GenerateMaps(g);  // a missing photograph skips its map and leaves the flag unset
  EXPECT_EQ(std::tuple(Generated(2), Generated(4), g.options.MapsGenerated), std::tuple(false, true, 0));
  WritePhotos({2});
  GenerateMaps(g);
  for (int n = 1; n <= 4; ++n) EXPECT_TRUE(Generated(n)) << n;
  EXPECT_EQ(std::tuple(g.options.MapsGenerated, g.form.StatusMessage), std::tuple(1, "Map 4/4 - ScaleUp"));
  auto options = ReadLines(plat.ProgramDir() / "OtherFiles" / "Options.txt");
  ASSERT_TRUE(options);
  ASSERT_GE(options->size(), 12u);
  EXPECT_EQ(Num((*options)[11]), 1);

  Surface map;
  ASSERT_TRUE(plat.LoadPicture(Pictures() / "Map02.bmp", map));
  ASSERT_EQ(map.Width(), 320);
  // The grained map keeps the photograph's character: red channel 80 in the middle.
  EXPECT_NEAR(RedOf(GetPixel(map, 150, 150)), 80, 12);

  fs::remove(Pictures() / "Map01.bmp");
  GenerateMaps(g);  // the flag says done: nothing is made again
  EXPECT_FALSE(Generated(1));
}

TEST_F(NewGameTest, NewGamesKeepTheBattlefieldWhenTheMapsAreMissing) {
  WriteOtherFile("DEFAULT.txt", {KeyLine("NA", "Sergeant Vell"), KeyLine("OM", "999")});
  for (int i = 0; i < kSoldierSlots; ++i) Put(i, 1, 1);
  g.options.MapsGenerated = 1;  // flagged as made, but the files are gone
  GenerateMaps(g);
  SetPixelV(g.form.Terain, 33, 44, Rgb(1, 2, 3));
  for (int n = 0; n < 12; ++n) {
    plat.AdvanceMs(1500);
    NewGame(g);
    ASSERT_EQ(GetPixel(g.form.Terain, 33, 44), Rgb(1, 2, 3));
  }
  // The player comes back in slot 0 with the file's name and the fixed starting values.
  EXPECT_EQ(std::tuple(P().Name, P().Alive, P().Ammo, P().X, P().Facing),
            std::tuple("Sergeant Vell", kTrue, 20, 140, 270));
  EXPECT_EQ(g.world.Soldiers[50].Alive, kFalse);
}

}  // namespace
}  // namespace vorlan::testing
