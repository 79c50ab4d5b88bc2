// The generated data files read by the game's own readers: soldier files, the default score
// tables, the page template, the default options; and a rebuild never touches the player's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "persistence/high_scores.h"
#include "persistence/options_file.h"
#include "platform/files.h"
#include "soldiers/soldier_files.h"
#include "support/test_game.h"
#include "text.h"
#include "worldscores/world_table.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using testing::TestGame;

std::vector<std::string> Lines(const fs::path& p) {
  auto l = ReadLines(p, {.crLfOnly = true});
  return l ? *l : std::vector<std::string>{};
}

// The column layout itself is the reader's to check: a shifted column shows in these values.
TEST(ContentData, SoldierFilesPlaceTheRecruitAndTheRifleman) {
  TestGame t(TestGame::Content::Copied);
  ASSERT_TRUE(t.contentCopied);
  SpawnFromFile(t.g, "DEFAULT");
  ASSERT_EQ(t.g.world.SpawnSlot, 0);
  const Soldier& p = t.g.world.Soldiers[0];
  EXPECT_EQ(p.Name, "Recruit");
  EXPECT_FLOAT_EQ(p.Health, 90.f);
  EXPECT_DOUBLE_EQ(p.Speed, 10.0);
  EXPECT_EQ(p.RechargeTime, 12);
  SpawnFromFile(t.g, "LVL1");
  ASSERT_EQ(t.g.world.SpawnSlot, 1);
  EXPECT_EQ(t.g.world.Soldiers[1].Name, "Rifleman");
  EXPECT_DOUBLE_EQ(t.g.world.Soldiers[1].Range, 20.0);
}

int ScoreOf(const std::string& column) { return std::atoi(column.c_str()); }

TEST(ContentData, DefaultScoreTablesLoadDescendingAndMakeAFullPage) {
  TestGame t(TestGame::Content::Copied);
  ASSERT_TRUE(t.contentCopied);
  const fs::path other = t.plat.ProgramDir() / "OtherFiles";
  auto tmpl = Lines(other / "default.htm");
  ASSERT_GE(tmpl.size(), 15u);
  EXPECT_EQ(tmpl[14].rfind("</FONT>", 0), 0u) << "line 15 is replaced by lines that close a font";
  // No archive yet: loading falls back to the default tables.
  LoadHighScores(t.g);
  const auto& hs = t.g.hs;
  EXPECT_GT(ScoreOf(hs.HsScore[10]), 0);
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    // Descending, from modest results a new player can beat.
    EXPECT_LT(ScoreOf(hs.HsScore[i]), i > 0 ? ScoreOf(hs.HsScore[i - 1]) : 5000);
    EXPECT_EQ(std::pair(hs.HsDate[i].size(), hs.HsTime[i].size()), (std::pair<size_t, size_t>(8, 5)));
    // The stored ceilings agree with the stored skills.
    EXPECT_EQ(ScoreOf(hs.HsMaxHealth[i]), (ScoreOf(hs.HsBulletSpeed[i]) + 3) * 30);
    EXPECT_EQ(ScoreOf(hs.HsMaxAmmo[i]), (ScoreOf(hs.HsRecharge[i]) + 1) * 15);
    EXPECT_FALSE(hs.HsName[i].empty());
    EXPECT_EQ(hs.HsName[i], NameCase(hs.HsName[i]));
  }
  LoadWorldScores(t.g);
  const auto& ws = t.g.ws;
  EXPECT_EQ(ws.WsUploads, 0);
  ASSERT_EQ(ws.WsLastUpdate.size(), 10u);
  for (int i = 1; i <= 100; ++i) EXPECT_LT(ScoreOf(ws.WsScore[i]), ScoreOf(ws.WsScore[i - 1])) << i;
  EXPECT_GT(ScoreOf(ws.WsScore[100]), 0);
  WriteWorldPage(t.g);
  auto page = Lines(other / "worldscoresVo118.htm");
  EXPECT_EQ(page.size(), 29u + 100u * 6u + 9u);
}

fs::path Generator() { return testing::BuiltProgramDir().parent_path() / "tools" / "vorlan_content"; }

// The generator is a tool of the native build, which a Windows test program cannot start.
#ifdef _WIN32
#define SKIP_WITHOUT_GENERATOR() GTEST_SKIP() << "the content generator runs only in the native build"
#else
#define SKIP_WITHOUT_GENERATOR() static_cast<void>(0)
#endif

// Writes the data files into a folder as the build does.
bool Generate(const fs::path& dir) {
  std::string cmd = "'" + Generator().string() + "' '" + dir.string() + "' --data-only";
  return std::system(cmd.c_str()) == 0;
}

// The built folder's options may already be the player's own, so the defaults are checked where
// nothing was played yet.
TEST(ContentData, DefaultOptionsAreWindowedWithEffectsOnAtVolume80) {
  SKIP_WITHOUT_GENERATOR();
  TestGame t;
  ASSERT_TRUE(Generate(t.plat.ProgramDir()));
  OptionsFile(t.g, false);
  const auto& o = t.g.options;
  EXPECT_EQ(o.SoundVolume, 80);
  EXPECT_EQ(o.OptFullScreen, 8);
  EXPECT_EQ(o.OptDebugInfo, 8);
  for (int16_t on : {o.OptBloodFly, o.OptBloodStays, o.OptBulletFly, o.OptScoreInfo, o.OptSnow, o.OptMono,
                     o.OptFootSteps, o.OptMovementReal, o.OptAlphaBlend, o.OptKillsInRow, o.MapsGenerated})
    EXPECT_EQ(on, 0);
  EXPECT_EQ(Lines(t.plat.ProgramDir() / "OtherFiles" / "WebSite.txt"),
            std::vector<std::string>{"http://127.0.0.1:8421"});
  EXPECT_TRUE(Lines(t.plat.ProgramDir() / "Upload" / "upload.txt").empty());
  EXPECT_TRUE(Lines(t.plat.ProgramDir() / "OtherFiles" / "upload.txt").empty());
}

// A rebuild runs the generator over a folder where the player has played: settings and pending
// uploads stay, and folders spelt in another case are reused rather than doubled.
TEST(ContentData, RegeneratingKeepsThePlayersSettingsAndUploads) {
  SKIP_WITHOUT_GENERATOR();
  HeadlessPlatform plat;  // an empty folder, removed with the platform
  const fs::path dir = plat.ProgramDir();
  fs::create_directories(dir / "otherfiles");
  fs::create_directories(dir / "upload");
  const std::string options =
      " 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n 35 \r\n 120 \r\n 7 \r\n 0 \r\n 1 \r\n 0 \r\n 8 \r\n "
      "0 \r\n 0 \r\n";
  const std::string pending = "1234572026.jpg\r\n";
  WriteWholeFile(dir / "otherfiles" / "options.txt", options);
  WriteWholeFile(dir / "upload" / "upload.txt", pending);

  ASSERT_TRUE(Generate(dir));

  EXPECT_EQ(ReadWholeFile(dir / "otherfiles" / "options.txt"), options);
  EXPECT_EQ(ReadWholeFile(dir / "upload" / "upload.txt"), pending);
  EXPECT_FALSE(fs::exists(dir / "OtherFiles"));
  EXPECT_TRUE(fs::exists(dir / "otherfiles" / "Temp.txt"));
  EXPECT_FALSE(fs::exists(dir / "otherfiles" / "Options.txt"));
}

}  // namespace
}  // namespace vorlan
