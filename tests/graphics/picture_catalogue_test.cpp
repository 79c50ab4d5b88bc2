#include "graphics/picture_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "graphics/screen_capture.h"
#include "numbers.h"
#include "platform/headless_platform.h"
#include "shell/startup.h"

namespace vorlan {
namespace {

TEST(PictureCatalogue, NamesEveryPictureOnceInLoadOrder) {
  int n = 0;
  const PictureRow* rows = PictureCatalogue(n);
  ASSERT_EQ(n, 47);
  EXPECT_STREQ(rows[0].file, "MainLogo.jpg");
  EXPECT_STREQ(rows[1].file, "Loading.jpg");
  EXPECT_STREQ(rows[46].file, "LogoFull.jpg");
  Pictures p;
  std::set<const Surface*> surfaces;
  std::set<std::string> files;
  for (int i = 0; i < n; ++i) {
    surfaces.insert(&RowSurface(p, rows[i]));
    files.insert(rows[i].file);
  }
  EXPECT_EQ(surfaces.size(), 47u);
  EXPECT_EQ(files.size(), 47u);
  EXPECT_EQ(&RowSurface(p, rows[21]), &p.SheetAi[5]);
}

class LoadPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(plat.ProgramDir() / "Pictures");
    g.form.Field.Resize(300, 300);
    g.form.StatusField.Resize(300, 78);
  }
  void Picture(const std::string& name, int w, int h, Color c) {
    Surface s(w, h, c);
    ASSERT_TRUE(plat.SaveBmp(s, plat.ProgramDir() / "Pictures" / name));
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(LoadPicturesTest, LoadsWhatIsThereAndLeavesMissingPicturesEmpty) {
  Picture("CursorMenu.jpg", 36, 18, Rgb(255, 255, 255));  // a bitmap under a .jpg name loads too
  Picture("AiLVL3.jpg", 1512, 42, Rgb(10, 20, 30));
  Picture("StatusBar.jpg", 300, 78, Rgb(0, 0, 255));
  for (int n : {1, 2, 4, 5}) Picture("Map0" + std::to_string(n) + ".bmp", 304, 304, Rgb(0, 90, 0));
  LoadPictures(g);
  EXPECT_EQ(g.pics.PicCursorMenu.Width(), 36);
  EXPECT_EQ(GetPixel(g.pics.SheetAi[3], 5, 5), Rgb(10, 20, 30));
  EXPECT_TRUE(g.pics.PicMainLogo.Empty());
  EXPECT_TRUE(g.pics.PicLogoFull.Empty());
  EXPECT_EQ(GetPixel(g.form.StatusField, 10, 10), Rgb(0, 0, 255));
  EXPECT_EQ(g.form.LoadingStep, 46);
  EXPECT_GT(g.pics.MemTotal, 0u);
  FreePictures(g);
  EXPECT_TRUE(g.pics.PicCursorMenu.Empty());
  EXPECT_TRUE(g.pics.SheetAi[3].Empty());
}

TEST_F(LoadPicturesTest, AMissingStartMapLeavesTheTerrainBlank) {
  // Whatever map the clock picks, only Map03 exists or nothing does.
  Picture("Map03.bmp", 304, 304, Rgb(0, 90, 0));
  g.form.Terain.Resize(320, 320, 0);
  LoadPictures(g);
  Color c = GetPixel(g.form.Terain, 10, 10);
  EXPECT_TRUE(c == 0u || c == Rgb(0, 90, 0));
}

TEST(DrawMasked, MaskKeepsTheBackgroundAndTheImageFillsTheSprite) {
  // A 2 x 1 sprite: left pixel opaque red, right pixel transparent; mask to the right.
  Surface pic(4, 1, 0);
  SetPixelV(pic, 0, 0, Rgb(255, 0, 0));
  SetPixelV(pic, 1, 0, Rgb(0, 0, 0));
  SetPixelV(pic, 2, 0, Rgb(0, 0, 0));
  SetPixelV(pic, 3, 0, Rgb(255, 255, 255));
  Surface dst(3, 1, Rgb(0, 0, 200));
  DrawMasked(dst, 1, 0, 2, 1, pic, 0, 0, 2, 0);
  EXPECT_EQ(GetPixel(dst, 0, 0), Rgb(0, 0, 200));
  EXPECT_EQ(GetPixel(dst, 1, 0), Rgb(255, 0, 0));
  EXPECT_EQ(GetPixel(dst, 2, 0), Rgb(0, 0, 200));
}

class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g.form.Field.Resize(300, 300, Rgb(255, 0, 0));       // drawn but not yet shown
    g.form.FieldShown.Resize(300, 300, Rgb(0, 200, 0));  // what the player sees
    g.form.StatusField.Resize(300, 78, Rgb(255, 0, 0));
    g.form.StatusShown.Resize(300, 78, Rgb(0, 0, 200));
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(ScreenshotTest, SavesTheDisplayedFieldOverTheStatusBarAsJpegOnly) {
  std::filesystem::path stem = plat.ProgramDir() / "shot";
  SaveScreenshot(g, stem, 50);
  Surface shot;
  ASSERT_TRUE(plat.LoadPicture(plat.ProgramDir() / "shot.jpg", shot));
  EXPECT_EQ(shot.Width(), 300);
  EXPECT_EQ(shot.Height(), 378);
  Color top = GetPixel(shot, 150, 150), bottom = GetPixel(shot, 150, 340);
  EXPECT_LT(RedOf(top), 40);
  EXPECT_GT(GreenOf(top), 160);
  EXPECT_GT(BlueOf(bottom), 160);
  EXPECT_LT(RedOf(bottom), 40);
  EXPECT_FALSE(std::filesystem::exists(plat.ProgramDir() / "shot.bmp"));

  // Full screen shows the same 300 x 378 picture.
  g.options.OptFullScreen = 0;
  SetDisplayMode(g, true);
  SaveScreenshot(g, plat.ProgramDir() / "full", 50);
  ASSERT_TRUE(plat.LoadPicture(plat.ProgramDir() / "full.jpg", shot));
  EXPECT_EQ(shot.Width(), 300);
  EXPECT_EQ(shot.Height(), 378);
}

TEST_F(ScreenshotTest, AnEmptyStemStaysInsideTheDataFolder) {
  SaveScreenshot(g, {}, 50);
  bool found = false;
  for (auto& e : std::filesystem::recursive_directory_iterator(plat.DataDir()))
    if (e.path().filename() == "test.jpg") found = true;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vorlan
