#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/display.h"
#include "shell/input.h"
#include "sound/sound_bank.h"
#include "support/test_game.h"

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
  EXPECT_TRUE(plat.Buffer(snd::MenuAmbient).looping || !plat.Buffer(snd::MenuAmbient).exists);
  EXPECT_EQ(plat.lastStatus.Height(), 78);
  Event close;
  close.type = Event::Type::Close;
  plat.PushEvent(close);
  g.form.StopAfterPasses = 0;
  MainLoop(g);  // returns once the close has run
  EXPECT_TRUE(g.form.Unloaded);
  EXPECT_EQ(g.form.PassesRun, 3);
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

TEST(StartUp, LoadsTheGeneratedContent) {
  testing::TestGame t(testing::TestGame::Content::Copied);
  if (!std::filesystem::exists(testing::BuiltProgramDir() / "Pictures" / "MainLogo.jpg")) GTEST_SKIP();
  Game& g = t.g;
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_EQ(g.pics.PicMainLogo.Width(), 300);
  EXPECT_GE(g.pics.SheetPlayer.Width(), 72 * 21);
  EXPECT_FALSE(g.pics.SheetAi[5].Empty() || g.pics.PicLogoFull.Empty());
  for (int index = 0; index < kSoundIndexLimit; ++index)
    EXPECT_EQ(g.sound.Loaded[index], FindSound(index) != nullptr) << index;
}

}  // namespace
}  // namespace vorlan
