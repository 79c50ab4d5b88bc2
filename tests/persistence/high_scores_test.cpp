#include "persistence/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "numbers.h"
#include "persistence/high_score_fixture.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using namespace vorlan::testing;

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

TEST_F(HighScores, PlacingMovesLowerResultsDownAndTiesGoBelow) {
  LoadTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  EXPECT_EQ(PlaceHighScore(g.hs, 500), 5);
  EXPECT_EQ(g.hs.HsName[4], "P4");
  EXPECT_EQ(g.hs.HsName[6], "P5");
  EXPECT_EQ(g.hs.HsName[10], "P9");  // old slot 9 drops to the overflow slot
  EXPECT_EQ(PlaceHighScore(g.hs, 1), -1);

  LoadTable({900, 800});
  EXPECT_EQ(PlaceHighScore(g.hs, 1000), 0);  // the best result moves every other one down
  EXPECT_EQ(g.hs.HsName[1], "P0");
  EXPECT_EQ(g.hs.HsName[2], "P1");
}

TEST_F(HighScores, UploadListHoldsAtMostTwentyPictures) {
  std::vector<std::string> twenty;
  for (int k = 0; k < 20; ++k) twenty.push_back("old" + std::to_string(k) + ".jpg");
  WriteBytes(UploadList(), "");
  ASSERT_TRUE(WriteTextLines(UploadList(), twenty));
  AddToUploadList(g, "new.jpg");
  EXPECT_EQ(*ReadLines(UploadList()), twenty);

  // Lines after an empty one are dropped, then the new picture is appended.
  ASSERT_TRUE(WriteTextLines(UploadList(), {"a.jpg", "", "b.jpg"}));
  AddToUploadList(g, "new.jpg");
  EXPECT_EQ(*ReadLines(UploadList()), (std::vector<std::string>{"a.jpg", "new.jpg"}));
}

}  // namespace
}  // namespace vorlan
