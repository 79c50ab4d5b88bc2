#include "persistence/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "numbers.h"
#include "persistence/high_score_fixture.h"
#include "persistence/options_file.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using namespace vorlan::testing;

TEST(RecordLine, FixedColumnsAndPadding) {
  EXPECT_EQ(PadNumber(123456, 5), "123456");  // too wide: runs on, never cut

  std::string line = RecordLine(Sample(7, "Anna"));
  EXPECT_EQ(line.substr(0, 18), "7    K=3   T=02:05");
  EXPECT_EQ(line.substr(72, 10), "??????????");
  EXPECT_EQ(line.substr(82), " N=Anna");
  EXPECT_EQ(ParseRecordLine("9").Score, "9");  // short lines give empty columns
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
  for (int slot : {0, 1, 10}) EXPECT_EQ(HsRecord(fresh.hs, slot), HsRecord(g.hs, slot)) << "slot " << slot;
  SaveHighScores(fresh);
  EXPECT_EQ(ReadBytes(Archive()), bytes);
}

TEST_F(HighScores, MissingOrDamagedArchiveIsRestoredFromTheDefaultAndKept) {
  WriteBytes(TempTxt(), ArchiveOf({Sample(321, "Default"), Sample(300, "Def2"), Sample(10, "Def3")}));
  // Missing: restored, nothing to keep.
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsName[0], "Default");
  EXPECT_EQ(ReadBytes(Archive()), ReadBytes(TempTxt()));
  EXPECT_FALSE(fs::exists(plat.DataDir() / "AtopVo118.vor.damaged"));

  // Cut short inside the third record: the two intact records stay, the default table fills
  // only the places lost, in order; every damaged copy is kept, the oldest and the newest.
  std::string whole = ArchiveOf({Sample(999, "Mine"), Sample(310, "Mine2"), Sample(200, "Lost")});
  std::vector<std::string> damaged;
  for (int k = 0; k < 12; ++k) {
    damaged.push_back(whole.substr(0, whole.find("END") - 30 - k));
    WriteBytes(Archive(), damaged.back());
    Reload();
    ASSERT_EQ(std::vector<std::string>(g.hs.HsName.begin(), g.hs.HsName.begin() + 4),
              (std::vector<std::string>{"Mine", "Mine2", "Def3", ""}));
  }
  WriteBytes(Archive(), whole.substr(0, whole.find("END") - 30));
  WriteBytes(TempTxt(),
             ArchiveOf({Sample(5000, "D0"), Sample(4000, "D1"), Sample(300, "D2"), Sample(1, "D3")}));
  Reload();
  EXPECT_EQ(std::vector<std::string>(g.hs.HsName.begin(), g.hs.HsName.begin() + 5),
            (std::vector<std::string>{"Mine", "Mine2", "D2", "D3", ""}));
  EXPECT_EQ(SavedName(2), "D2");  // the mended table was saved
  auto kept = [&](int n) {
    return plat.DataDir() / ("AtopVo118.vor.damaged" + (n == 1 ? std::string() : "." + std::to_string(n)));
  };
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(ReadBytes(kept(n)), damaged[n - 1]) << n;
  EXPECT_EQ(ReadBytes(kept(10)), whole.substr(0, whole.find("END") - 30));  // the newest
  EXPECT_FALSE(fs::exists(kept(11)));

  // Junk in place of a record, and a file far larger than any table: damaged too.
  std::string junk = ArchiveOf({Sample(999, "Mine")});
  junk.insert(junk.find("END"), "garbage\r\n");
  WriteBytes(Archive(), junk);
  fs::remove(kept(10));
  Reload();
  EXPECT_EQ(g.hs.HsName[0], "D1");  // the places stay in order
  EXPECT_EQ(g.hs.HsName[1], "Mine");
  WriteBytes(Archive(), whole + std::string(5000, ' '));
  Reload();
  EXPECT_EQ(g.hs.HsName[0], "D0");
  EXPECT_EQ(ReadBytes(kept(10)), whole + std::string(5000, ' '));
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

TEST_F(HighScores, AnArchiveThatCannotBeOpenedIsLeftInPlaceAndNotWrittenOver) {
  WriteBytes(TempTxt(), ArchiveOf({Sample(321, "Default")}));
  const std::string mine = ArchiveOf({Sample(999, "Mine")});
  WriteBytes(Archive(), mine);
  InjectedFileFaults() = {.openRead = EACCES, .only = Archive()};
  ::testing::internal::CaptureStderr();
  LoadHighScores(g);
  InjectedFileFaults() = {};
  EXPECT_EQ(g.hs.HsName[0], "Default");  // shown from memory
  ASSERT_FALSE(g.form.NoticeLines.empty());
  EXPECT_EQ(g.form.NoticeLines[0].text, "SCORES NOT READ: NO PERMISSION");
  SetHsRecord(g.hs, 0, Sample(5000, "New"));
  SaveHighScores(g);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot save"), std::string::npos);
  EXPECT_EQ(ReadBytes(Archive()), mine);
  EXPECT_FALSE(fs::exists(plat.DataDir() / "AtopVo118.vor.damaged"));
  EXPECT_EQ(g.form.NoticeLines.end()[-2].text, "SCORE NOT SAVED: NO PERMISSION");
}

TEST_F(HighScores, AFailedSaveIsToldOnceKeepsTheResultAndGoesWithTheNextSave) {
  fs::create_directories(plat.ProgramDir() / "OtherFiles");
  struct Case {
    FileFaults faults;
    const char* told;
  };
  for (const Case& c : {Case{{.writeLimit = 100}, "SCORE NOT SAVED: DISK FULL"},
                        Case{{.openWrite = EROFS}, "SCORE NOT SAVED: READ-ONLY DISK"},
                        Case{{.openWrite = EACCES}, "SCORE NOT SAVED: NO PERMISSION"},
                        Case{{.rename = EIO}, "SCORE NOT SAVED: DISK ERROR"}}) {
    g.form.NoticeLines.clear();
    LoadTable({900});
    const std::string before = ReadBytes(Archive());
    SetHsRecord(g.hs, 1, Sample(500, "Fresh"));
    InjectedFileFaults() = c.faults;
    ::testing::internal::CaptureStderr();
    SaveHighScores(g);
    SaveHighScores(g);  // told once
    Reload();           // the result is not replaced by the older table on disk
    OptionsFile(g, true);
    std::string err = ::testing::internal::GetCapturedStderr();
    InjectedFileFaults() = {};
    EXPECT_EQ(ReadBytes(Archive()), before) << c.told;
    EXPECT_EQ(g.hs.HsName[1], "Fresh");
    ASSERT_EQ(g.form.NoticeLines.size(), 4u) << c.told;  // the score and the options, each with its folder
    EXPECT_EQ(g.form.NoticeLines[0].text, c.told);
    EXPECT_EQ(g.form.NoticeLines[1].text, "in " + plat.DataDir().string());
    EXPECT_EQ(g.form.NoticeLines[2].text.substr(0, 17), "OPTIONS NOT SAVED");
    EXPECT_NE(err.find("cannot save " + Archive().string()), std::string::npos) << err;
    // The next save of anything takes the score along.
    OptionsFile(g, true);
    EXPECT_EQ(SavedName(1), "Fresh");
    EXPECT_TRUE(fs::exists(plat.ProgramDir() / "OtherFiles" / "Options.txt"));
    EXPECT_TRUE(g.form.SavesFailing.empty());
  }
}

}  // namespace
}  // namespace vorlan
