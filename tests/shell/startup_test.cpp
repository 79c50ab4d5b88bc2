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

// Options with every feature off, volume 80, maps made, and the given full-screen flag.
void WriteOptions(const std::filesystem::path& program, int fullScreen) {
  std::filesystem::create_directories(program / "OtherFiles");
  std::ofstream out(program / "OtherFiles" / "Options.txt", std::ios::binary);
  for (int i = 1; i <= 16; ++i)
    out << " " << (i == 8 ? 80 : i == 12 ? 1 : i == 13 ? fullScreen : 8) << " \r\n";
}

TEST(StartUp, RunsWithoutAnyContentToTheMenuAndEndsOnClose) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 8);
  Game g(plat);
  g.form.StopAfterPasses = 2;
  WindowLoad(g);
  EXPECT_EQ(plat.caption, "Vorlan: Iron Meadow");
  EXPECT_EQ(g.form.LoadingStep, 87);  // 46 pictures, 40 sounds and the last step
  EXPECT_EQ(g.options.SoundVolume, 80);
  EXPECT_EQ(plat.Buffer(snd::MenuAmbient).looping || !plat.Buffer(snd::MenuAmbient).exists, true);
  EXPECT_EQ(plat.lastStatus.Height(), 78);
  Event close;
  close.type = Event::Type::Close;
  plat.PushEvent(close);
  g.form.StopAfterPasses = 0;
  MainLoop(g);  // returns once the close has run
  EXPECT_TRUE(g.form.Unloaded);
  EXPECT_EQ(g.form.PassesRun, 3);

  HeadlessPlatform plat2;
  WriteOptions(plat2.ProgramDir(), 8);
  Game g2(plat2);
  plat2.SetKey(dik::X, true);
  WindowLoad(g2);  // X on the menu ends the program in the first pass
  EXPECT_EQ(g2.form.PassesRun, 1);
}

TEST(StartUp, FullScreenFailureWarnsOnceAndKeepsTheWindowsCursorMapping) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 0);
  plat.SetFullScreenFails(true);
  Game g(plat);
  g.form.StopAfterPasses = 2;
  WindowLoad(g);
  ASSERT_EQ(plat.messageBoxes.size(), 1u);
  EXPECT_EQ(plat.messageBoxes[0],
            "Vorlan Error!|Cannot activate DirectX 7! Make sure you have it installed correctly!");
  EXPECT_EQ(g.options.OptFullScreen, 8);  // also after the main loop read the file again
  EXPECT_EQ(plat.caption, "Vorlan: Iron Meadow");
  plat.SetCursorField(100, 200);
  UpdateCursor(g);
  EXPECT_EQ(std::pair(g.input.CursorX, g.input.CursorY), std::pair(100, 200));
}

TEST(StartUp, ProgressBarSlidesInOverEightySevenSteps) {
  HeadlessPlatform plat;
  Game g(plat);
  g.form.Field.Resize(300, 300);
  g.pics.PicLoading.Resize(300, 13, Rgb(0, 255, 0));
  g.form.LoadingStep = 28;  // step 29: x = nearest(300 / 87 x 29 - 300) = -200
  ShowProgress(g);
  EXPECT_EQ(GetPixel(g.form.Field, 99, 290), Rgb(0, 255, 0));
  EXPECT_EQ(GetPixel(g.form.Field, 100, 290), 0u);
}

TEST(StartUp, LoadsTheGeneratedContent) {
  std::filesystem::path built = VORLAN_PROGRAM_DIR;
  if (!std::filesystem::exists(built / "Pictures" / "MainLogo.jpg")) GTEST_SKIP() << "content not built";
  HeadlessPlatform plat;
  for (const char* dir : {"Pictures", "Sounds", "OtherFiles"})
    std::filesystem::copy(built / dir, plat.ProgramDir() / dir, std::filesystem::copy_options::recursive);
  Game g(plat);
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_EQ(g.pics.PicMainLogo.Width(), 300);
  EXPECT_GE(g.pics.SheetPlayer.Width(), 72 * 21);
  EXPECT_FALSE(g.pics.SheetAi[5].Empty());
  EXPECT_FALSE(g.pics.PicLogoFull.Empty());
  for (int index = 0; index < kSoundIndexLimit; ++index)
    EXPECT_EQ(g.sound.Loaded[index], FindSound(index) != nullptr) << index;
}

}  // namespace
}  // namespace vorlan
