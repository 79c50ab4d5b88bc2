#include "persistence/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "numbers.h"
#include "platform/headless/headless_platform.h"
#include "shell/display.h"
#include "support/score_server.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

ScoreRecord Sample(int score, const std::string& name) {
  return {PadNumber(score, 5), PadNumber(3, 3),  "02:05",          PadNumber(5, 2),
          PadNumber(10, 2),    PadNumber(2, 2),  PadNumber(1, 2),  PadNumber(150, 3),
          PadNumber(90, 3),    PadNumber(12, 5), PadNumber(20261206, 8), name};
}

std::string ArchiveOf(const std::vector<ScoreRecord>& recs) {
  std::string out;
  for (const auto& r : recs) {
    std::string line = RecordLine(r);
    out += ScrambleText(line, kScrambleKey) + "\r\n";
  }
  return out + "END\r\n";
}

struct HighScores : ::testing::Test {
  HeadlessPlatform plat;
  Game g{plat};
  fs::path Archive() { return plat.DataDir() / "AtopVo118.vor"; }
  fs::path TempTxt() { return plat.ProgramDir() / "OtherFiles" / "Temp.txt"; }

  void LoadTable(std::vector<int> scores) {
    std::vector<ScoreRecord> recs;
    for (size_t k = 0; k < 11; ++k)
      recs.push_back(k < scores.size() ? Sample(scores[k], "P" + std::to_string(k)) : ScoreRecord{});
    WriteBytes(Archive(), ArchiveOf(recs));
    g.hs.HsLoadCounter = 0;
    LoadHighScores(g);
  }
};

TEST(RecordLine, FixedColumnsAndPadding) {
  EXPECT_EQ(PadNumber(123456, 5), "123456");  // too wide: runs on, never cut

  ScoreRecord r = Sample(7, "Anna");
  std::string line = RecordLine(r);
  EXPECT_EQ(line.substr(0, 18), "7    K=3   T=02:05");
  EXPECT_EQ(line.substr(72, 10), "??????????");
  EXPECT_EQ(line.substr(82), " N=Anna");
  EXPECT_EQ(ParseRecordLine(line), r);
  EXPECT_EQ(ParseRecordLine("9").Score, "9");  // short lines give empty columns
  EXPECT_EQ(ProofStem(r), "7320261206");

  std::string text = "Peter W.";
  std::string scrambled = ScrambleText(text, kScrambleKey);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(scrambled[0], '\n');  // 'P' XOR 0x5A
  EXPECT_EQ(scrambled[6], '\r');  // 'W' XOR 0x5A
  EXPECT_EQ(ScrambleText(scrambled, kScrambleKey), "Peter W.");
}

TEST_F(HighScores, ArchiveRoundTripKeepsNamesThatScrambleToLineBreaks) {
  SetHsRecord(g.hs, 0, Sample(900, "Walter"));
  SetHsRecord(g.hs, 1, Sample(800, "Paula"));
  SetHsRecord(g.hs, 10, Sample(5, "W"));
  fs::create_directories(plat.ProgramDir() / "OtherFiles");
  SaveHighScores(g);

  std::string bytes = ReadBytes(Archive());
  EXPECT_TRUE(bytes.ends_with("\r\nEND\r\n"));
  EXPECT_EQ(bytes, ReadBytes(plat.ProgramDir() / "OtherFiles" / "HighScores.txt"));

  Game fresh(plat);
  LoadHighScores(fresh);
  for (int slot : {0, 1, 10})
    EXPECT_EQ(HsRecord(fresh.hs, slot), HsRecord(g.hs, slot)) << "slot " << slot;
  SaveHighScores(fresh);
  EXPECT_EQ(ReadBytes(Archive()), bytes);
  // Nothing left behind by the atomic write.
  for (const auto& e : fs::directory_iterator(plat.DataDir()))
    EXPECT_TRUE(e.path().filename() == "AtopVo118.vor") << e.path();
}

TEST_F(HighScores, MissingOrDamagedArchiveIsRestoredFromTheDefaultAndKept) {
  WriteBytes(TempTxt(), ArchiveOf({Sample(321, "Default")}));
  // Missing: restored, nothing to keep.
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsName[0], "Default");
  EXPECT_EQ(ReadBytes(Archive()), ReadBytes(TempTxt()));
  EXPECT_FALSE(fs::exists(plat.DataDir() / "AtopVo118.vor.damaged"));

  // Half an archive (no end mark, fewer than eleven records): kept as .damaged, then restored.
  std::string half = ArchiveOf({Sample(999, "Mine"), Sample(998, "Mine2")});
  half = half.substr(0, half.find("END"));
  WriteBytes(Archive(), half);
  g.hs.HsLoadCounter = 0;
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsName[0], "Default");
  EXPECT_EQ(ReadBytes(plat.DataDir() / "AtopVo118.vor.damaged"), half);
}

TEST_F(HighScores, InsertionKeepsOrderAndTiesGoBelow) {
  LoadTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.menus.CurrentScreen, "");
  HighScoreCheck(g, 50);  // equals tenth, the eleventh is empty (0): only the screen changes
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
  EXPECT_EQ(g.hs.HsName[9], "P9");
  EXPECT_FALSE(fs::exists(plat.ProgramDir() / "Upload" / "upload.txt"));
  g.world.Soldiers[0].Date = "20261206";
  HighScoreCheck(g, 500);
  EXPECT_EQ(g.hs.NameEntryActive, kTrue);
  EXPECT_EQ(g.hs.NameRow, 5);
  EXPECT_EQ(g.hs.HsName[4], "P4");
  EXPECT_EQ(Num(g.hs.HsScore[5]), 500);
  EXPECT_EQ(g.hs.HsName[6], "P5");
  EXPECT_EQ(Num(g.hs.HsScore[10]), 50);  // old slot 9 drops to the overflow slot
  // The proof picture is listed for upload.
  auto list = ReadLines(plat.ProgramDir() / "Upload" / "upload.txt");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->back(), "500020261206.jpg");

  LoadTable({900, 800});
  g.hs.NameEntryActive = kFalse;
  HighScoreCheck(g, 1000);  // the best result takes slot 0 and moves every other one down
  EXPECT_EQ(g.hs.NameRow, 0);
  EXPECT_EQ(Num(g.hs.HsScore[2]), 800);
}

TEST_F(HighScores, NameEntryTypesCasesAndSaves) {
  LoadTable({900});
  HighScoreCheck(g, 100);
  ASSERT_EQ(g.hs.NameRow, 1);
  // Typed through the window: text events, then Backspace removes the x.
  for (const char* t : {"jOHN\r\n", "x"}) plat.PushEvent({.type = Event::Type::Text, .text = t});
  plat.PushEvent({.type = Event::Type::KeyDown, .keyCode = 8, .text = {}});
  DoEvents(g);
  HighScoreCheck(g, 0);  // one entry step
  EXPECT_TRUE(plat.textInput);
  EXPECT_EQ(g.hs.HsName[1], "John");

  // A game ending during the entry adds nothing.
  HighScoreCheck(g, 5000);
  EXPECT_EQ(Num(g.hs.HsScore[0]), 900);

  NameEntryTyped(g, "\xC3\xA9mile");  // UTF-8 é becomes one byte, then upper case
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[1], "John\xE9mile");
  plat.SetKey(28, true);
  HighScoreCheck(g, 0);
  EXPECT_FALSE(plat.textInput);
  Game fresh(plat);
  LoadHighScores(fresh);
  EXPECT_EQ(fresh.hs.HsName[1], "John\xE9mile");

  // An empty name is stored as "I'm stupid".
  plat.SetKey(28, false);
  HighScoreCheck(g, 50);
  plat.SetKey(28, true);
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[2], "I'm stupid");
}

TEST_F(HighScores, UploadListHoldsAtMostTwentyPictures) {
  std::vector<std::string> twenty;
  for (int k = 0; k < 20; ++k) twenty.push_back("old" + std::to_string(k) + ".jpg");
  auto file = plat.ProgramDir() / "Upload" / "upload.txt";
  WriteBytes(file, "");
  ASSERT_TRUE(WriteTextLines(file, twenty));
  LoadTable({900});
  HighScoreCheck(g, 100);
  EXPECT_EQ(*ReadLines(file), twenty);
  EXPECT_TRUE(fs::exists(plat.ProgramDir() / "Upload" / "10000.jpg"));  // still taken

  // Lines after an empty one are dropped, then the new picture is appended.
  ASSERT_TRUE(WriteTextLines(file, {"a.jpg", "", "b.jpg"}));
  g.hs.NameEntryActive = kFalse;
  HighScoreCheck(g, 300);
  EXPECT_EQ(*ReadLines(file), (std::vector<std::string>{"a.jpg", "30000.jpg"}));
}

}  // namespace
}  // namespace vorlan
