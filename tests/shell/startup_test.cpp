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
  EXPECT_EQ(g.options.SoundVolume, 80);
  EXPECT_TRUE(plat.Buffer(snd::MenuAmbient).looping || !plat.Buffer(snd::MenuAmbient).exists);
  plat.PushEvent({.type = Event::Type::Close, .text = {}});
  g.form.StopAfterPasses = 0;
  MainLoop(g);  // returns once the close has run
  EXPECT_TRUE(g.form.Unloaded);
  EXPECT_EQ(g.form.PassesRun, 3);
}

TEST(StartUp, FullScreenFailureWarnsOnceAndKeepsTheWindowsCursorMapping) {
  const std::string warning = "Cannot switch to full screen! The game goes on in a window.";
  // With a message box, and where none can be shown: then standard error and the window say it.
  for (int answer : {kIdOk, 0}) {
    HeadlessPlatform plat;
    WriteOptions(plat.ProgramDir(), 0);
    plat.SetFullScreenFails(true);
    plat.SetMessageBoxAnswer(answer);
    Game g(plat);
    g.form.StopAfterPasses = 2;
    ::testing::internal::CaptureStderr();
    WindowLoad(g);
    std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(plat.messageBoxes.size(), 1u);
    EXPECT_EQ(plat.messageBoxes[0], "Vorlan Error!|" + warning);
    EXPECT_NE(err.find("vorlan: " + warning + "\n"), std::string::npos) << err;
    ASSERT_EQ(g.form.NoticeLines.size(), answer == 0 ? 2u : 0u);
    if (answer == 0) {
      EXPECT_EQ(g.form.NoticeLines[0].text, "Cannot switch to full screen!");
      // Drawn over the field for a few seconds, then gone.
      EXPECT_EQ(GetPixel(g.form.Field, 298, 299), 0x000040u);
      plat.AdvanceMs(7000);
      g.form.StopAfterPasses = 4;
      MainLoop(g);
      EXPECT_TRUE(g.form.NoticeLines.empty());
    }
    EXPECT_EQ(g.options.OptFullScreen, 8);  // also after the main loop read the file again
    EXPECT_EQ(plat.caption, "Vorlan: Iron Meadow");
    plat.SetCursorField(100, 200);
    UpdateCursor(g);
    EXPECT_EQ(std::pair(g.input.CursorX, g.input.CursorY), std::pair(100, 200));
  }
}

// Which temporary names are stale, and that others are kept, is for the file tests.
TEST(StartUp, RemovesTheTemporaryFilesOfSavesCutShortInBothFolders) {
  HeadlessPlatform plat;
  WriteOptions(plat.ProgramDir(), 8);
  const std::string gone = std::to_string(testing::EndedProcessId());
  const auto stale = {plat.ProgramDir() / "OtherFiles" / ("Options.txt.tmp" + gone + "-0"),
                      plat.DataDir() / ("AtopVo118.vor.tmp" + gone + "-3")};
  for (const auto& p : stale) std::ofstream(p) << "x";
  Game g(plat);
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  for (const auto& p : stale) EXPECT_FALSE(std::filesystem::exists(p)) << p;
}

TEST(StartUp, LoadsTheGeneratedContent) {
  testing::TestGame t(testing::TestGame::Content::Copied);
  if (!std::filesystem::exists(testing::BuiltProgramDir() / "Pictures" / "MainLogo.jpg")) GTEST_SKIP();
  Game& g = t.g;
  g.form.StopAfterPasses = 1;
  WindowLoad(g);
  EXPECT_FALSE(g.pics.PicMainLogo.Empty() || g.pics.SheetPlayer.Empty() || g.pics.SheetAi[5].Empty() ||
               g.pics.PicLogoFull.Empty());
  for (int index = 0; index < kSoundIndexLimit; ++index)
    EXPECT_EQ(g.sound.Loaded[index], FindSound(index) != nullptr) << index;
}

}  // namespace
}  // namespace vorlan
