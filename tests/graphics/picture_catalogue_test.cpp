#include "graphics/picture_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/screen_capture.h"
#include "menus/score_screens.h"
#include "platform/headless/headless_platform.h"
#include "shell/display.h"

namespace vorlan {
namespace {

TEST(LoadPictures, LoadsWhatIsThereAndLeavesTheRestEmpty) {
  HeadlessPlatform plat;
  std::filesystem::create_directories(plat.ProgramDir() / "Pictures");
  auto picture = [&](const std::string& name, int w, int h, Color c) {
    ASSERT_TRUE(plat.SaveBmp(Surface(w, h, c), plat.ProgramDir() / "Pictures" / name));
  };
  picture("aiLVL3.jpg", 1512, 42, Rgb(10, 20, 30));  // a bitmap under a .jpg name, any case
  picture("StatusBar.jpg", 300, 78, Rgb(0, 0, 255));
  picture("Map03.bmp", 304, 304, Rgb(0, 90, 0));    // the other start maps are missing
  picture("MainLogo.jpg", 300, 301, Rgb(1, 1, 1));  // larger than the catalogue says: refused
  Game g(plat);
  g.form.StatusField.Resize(300, 78);
  LoadPictures(g);
  EXPECT_EQ(GetPixel(g.pics.SheetAi[3], 5, 5), Rgb(10, 20, 30));
  EXPECT_TRUE(g.pics.PicMainLogo.Empty());
  EXPECT_EQ(GetPixel(g.form.StatusField, 10, 10), Rgb(0, 0, 255));
  EXPECT_EQ(g.form.LoadingStep, 46);  // from "Loading.jpg" on
  // A score screen before any game wipes the panel back to its picture, not to black.
  g.form.StatusField.Fill(Rgb(255, 0, 0));
  ShowResultDetails(g, 0);
  EXPECT_EQ(GetPixel(g.form.StatusField, 299, 77), Rgb(0, 0, 255));
  FreePictures(g);
  EXPECT_TRUE(g.pics.SheetAi[3].Empty());
}

TEST(SaveScreenshot, WritesTheDisplayedPictureAsJpegOnlyInsideTheGameFolders) {
  HeadlessPlatform plat;
  Game g(plat);
  g.form.Field.Resize(300, 300, Rgb(255, 0, 0));  // drawn, not yet shown
  g.form.FieldShown.Resize(300, 300, Rgb(0, 200, 0));
  g.form.StatusShown.Resize(300, 78, Rgb(0, 0, 200));
  SetDisplayMode(g, true);  // full screen keeps the same 300 x 378 picture
  SaveScreenshot(g, plat.ProgramDir() / "shot", 50);
  Surface shot;
  ASSERT_TRUE(plat.LoadPicture(plat.ProgramDir() / "shot.jpg", shot));
  EXPECT_EQ(std::pair(shot.Width(), shot.Height()), std::pair(300, 378));
  EXPECT_GT(GreenOf(GetPixel(shot, 150, 150)), 160);
  EXPECT_LT(RedOf(GetPixel(shot, 150, 150)), 40);
  EXPECT_GT(BlueOf(GetPixel(shot, 150, 340)), 160);
  EXPECT_FALSE(std::filesystem::exists(plat.ProgramDir() / "shot.bmp"));

  SaveScreenshot(g, {}, 50);  // no name: a fixed one in the data folder
  bool found = false;
  for (auto& e : std::filesystem::recursive_directory_iterator(plat.DataDir()))
    found |= e.path().filename() == "test.jpg";
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vorlan
