#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "numbers.h"
#include "platform/headless_platform.h"
#include "shell/input.h"
#include "sound/sound_bank.h"

namespace vorlan {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

void WriteOptions(const std::filesystem::path& program, int fullScreen) {
  std::filesystem::create_directories(program / "OtherFiles");
  std::ofstream out(program / "OtherFiles" / "Options.txt", std::ios::binary);
  for (int i = 1; i <= 16; ++i) {
    int v = i == 8 ? 80 : (i == 12 ? 1 : (i == 13 ? fullScreen : 8));
    out << " " << v << " \r\n";
  }
}

TEST(StartUp, RunsWithoutContentToTheFirstMainLoopPass) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 8);
  Game g(plat);
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_EQ(g.form.PassesRun, 1);
  EXPECT_FALSE(g.form.Quit);
  EXPECT_EQ(plat.caption, "Vorlan: Iron Meadow");
  // 46 pictures from "Loading.jpg" on, 40 sounds and the last step.
  EXPECT_EQ(g.form.LoadingStep, 87);
  EXPECT_EQ(g.form.StatusMessage, "Loading DirectInput..");
  EXPECT_EQ(g.options.SoundVolume, 80);
  EXPECT_EQ(g.form.InGame, kFalse);
  EXPECT_NEAR(g.form.DegToRad, 3.14159265358979 / 180, 1e-15);
  bool ambience = false;
  for (auto& c : plat.audioCalls)
    if (c.index == snd::MenuAmbient && c.op == Op::Play && c.value == 1) ambience = true;
  EXPECT_TRUE(ambience);
  EXPECT_GT(plat.presentCount, 87);
  EXPECT_EQ(plat.lastField.Width(), 300);
  EXPECT_EQ(plat.lastStatus.Height(), 78);
}

TEST(StartUp, FullScreenFailureWarnsOnceAndStaysInTheWindow) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 0);
  plat.SetFullScreenFails(true);
  Game g(plat);
  g.form.StopAfterPasses = 2;
  WindowLoad(g);
  ASSERT_EQ(plat.messageBoxes.size(), 1u);
  EXPECT_EQ(plat.messageBoxes[0],
            "Vorlan Error!|Cannot activate DirectX 7! Make sure you have it installed correctly!");
  EXPECT_EQ(g.options.OptFullScreen, 8);
  EXPECT_EQ(plat.caption, "Vorlan: Iron Meadow");
  EXPECT_FALSE(plat.fullScreen);
  // The window's origin: the cursor lands where the player points.
  plat.SetCursorField(100, 200);
  UpdateCursor(g);
  EXPECT_EQ(g.input.CursorX, 100);
  EXPECT_EQ(g.input.CursorY, 200);
}

TEST(StartUp, FullScreenOptionSwitchesAtLoad) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 0);
  Game g(plat);
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_TRUE(plat.fullScreen);
  EXPECT_EQ(plat.caption, "");
  EXPECT_EQ(g.form.FieldOriginX, 170);
  EXPECT_TRUE(plat.messageBoxes.empty());
}

TEST(StartUp, ClosingTheWindowOrPressingXEndsTheMainLoop) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 8);
  Game g(plat);
  Event close;
  close.type = Event::Type::Close;
  g.form.StopAfterPasses = 3;
  WindowLoad(g);
  plat.PushEvent(close);
  g.form.StopAfterPasses = 0;
  MainLoop(g);  // returns once the close event has run
  EXPECT_TRUE(g.form.Quit);
  EXPECT_TRUE(g.form.Unloaded);
  EXPECT_TRUE(g.pics.PicMainLogo.Empty());

  HeadlessPlatform plat2;
  WriteOptions(plat2.ProgramDir(), 8);
  Game g2(plat2);
  plat2.SetKey(dik::X, true);
  WindowLoad(g2);  // would never return if X were not read
  EXPECT_TRUE(g2.form.Unloaded);
  EXPECT_EQ(g2.form.PassesRun, 1);
}

TEST(StartUp, ProgressBarSlidesInOverEightySevenSteps) {
  HeadlessPlatform plat;
  Game g(plat);
  g.form.Field.Resize(300, 300);
  g.pics.PicLoading.Resize(300, 13, Rgb(0, 255, 0));
  g.pics.PicMainLogo.Resize(300, 300, 0);
  g.form.LoadingStep = 28;  // this step: nearest(300 / 87 x 29 - 300) = -200
  ShowProgress(g);
  EXPECT_EQ(GetPixel(g.form.Field, 99, 290), Rgb(0, 255, 0));
  EXPECT_EQ(GetPixel(g.form.Field, 100, 290), 0u);
  g.form.LoadingStep = 86;
  ShowProgress(g);
  EXPECT_EQ(GetPixel(g.form.Field, 299, 290), Rgb(0, 255, 0));
}

TEST(StartUp, StartsWithTheGeneratedContent) {
  std::filesystem::path built = VORLAN_PROGRAM_DIR;
  if (!std::filesystem::exists(built / "Pictures" / "MainLogo.jpg")) GTEST_SKIP() << "content not built";
  HeadlessPlatform plat;
  for (const char* dir : {"Pictures", "Sounds", "OtherFiles"})
    std::filesystem::copy(built / dir, plat.ProgramDir() / dir, std::filesystem::copy_options::recursive);
  Game g(plat);
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_EQ(g.pics.PicMainLogo.Width(), 300);
  EXPECT_GE(g.pics.PicCursorMenu.Width(), 36);
  EXPECT_GE(g.pics.SheetPlayer.Width(), 72 * 21);
  EXPECT_FALSE(g.pics.SheetAi[5].Empty());
  EXPECT_TRUE(g.sound.Loaded[snd::ScoreMusic]);
  EXPECT_TRUE(g.sound.Loaded[snd::BulletFire]);
}

}  // namespace
}  // namespace vorlan
