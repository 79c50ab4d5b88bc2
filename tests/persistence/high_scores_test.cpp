#include "persistence/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "numbers.h"
#include "platform/headless_platform.h"
#include "shell/startup.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

ScoreRecord Sample(int score, const std::string& name) {
  ScoreRecord r;
  r.Score = PadNumber(score, col::Score);
  r.Kills = PadNumber(3, col::Kills);
  r.Time = "02:05";
  r.Accuracy = PadNumber(5, col::Accuracy);
  r.Recharge = PadNumber(10, col::Recharge);
  r.BulletSpeed = PadNumber(2, col::BulletSpeed);
  r.Melee = PadNumber(1, col::Melee);
  r.MaxHealth = PadNumber(150, col::MaxHealth);
  r.MaxAmmo = PadNumber(90, col::MaxAmmo);
  r.TimesPlayed = PadNumber(12, col::TimesPlayed);
  r.Date = PadNumber(20261206, col::Date);
  r.Name = name;
  return r;
}

std::string RawFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteRaw(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// An archive in the stored format from plain record lines.
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

  // Loads a table of ten descending scores.
  void LoadTable(std::vector<int> scores) {
    std::vector<ScoreRecord> recs;
    for (size_t k = 0; k < 11; ++k)
      recs.push_back(k < scores.size() ? Sample(scores[k], "P" + std::to_string(k)) : ScoreRecord{});
    WriteRaw(Archive(), ArchiveOf(recs));
    g.hs.HsLoadCounter = 0;
    LoadHighScores(g);
  }
};

TEST(RecordLine, FixedColumnsAndPadding) {
  EXPECT_EQ(PadNumber(7, 5), "7    ");
  EXPECT_EQ(PadNumber(20261206, 8), "20261206");
  EXPECT_EQ(PadNumber(123456, 5), "123456");  // too wide: runs on, never cut
  EXPECT_EQ(PadNumber(-1, 2), "-1");          // a negative skill keeps its column

  ScoreRecord r = Sample(7, "Anna");
  std::string line = RecordLine(r);
  EXPECT_EQ(line.substr(0, 18), "7    K=3   T=02:05");
  EXPECT_EQ(line.substr(72, 10), "??????????");
  EXPECT_EQ(line.substr(82, 3), " N=");
  EXPECT_EQ(line.substr(85), "Anna");
  EXPECT_EQ(ParseRecordLine(line), r);
  // A short or empty line gives empty columns rather than failing.
  EXPECT_EQ(ParseRecordLine("").Score, "");
  EXPECT_EQ(ParseRecordLine("9").Score, "9");
  EXPECT_EQ(ProofStem(r), "7320261206");
}

TEST(RecordLine, ScrambleIsItsOwnInverseAndConsumesItsInput) {
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
  SetHsRecord(g.hs, 2, Sample(700, "W"));
  SetHsRecord(g.hs, 10, Sample(5, "Last"));
  fs::create_directories(plat.ProgramDir() / "OtherFiles");
  SaveHighScores(g);

  std::string bytes = RawFile(Archive());
  EXPECT_TRUE(bytes.ends_with("\r\nEND\r\n"));
  EXPECT_EQ(bytes, RawFile(plat.ProgramDir() / "OtherFiles" / "HighScores.txt"));

  Game fresh(plat);
  LoadHighScores(fresh);
  for (int slot : {0, 1, 2, 10})
    EXPECT_EQ(HsRecord(fresh.hs, slot), HsRecord(g.hs, slot)) << "slot " << slot;
  EXPECT_EQ(Num(fresh.hs.HsScore[3]), 0);  // empty slots keep their columns
  EXPECT_EQ(fresh.hs.HsName[3], "");
  SaveHighScores(fresh);
  EXPECT_EQ(RawFile(Archive()), bytes);
  // Nothing left behind by the atomic write.
  for (const auto& e : fs::directory_iterator(plat.DataDir()))
    EXPECT_TRUE(e.path().filename() == "AtopVo118.vor") << e.path();
}

TEST_F(HighScores, LoadCounterReadsOnFirstAndEveryTenThousandthCall) {
  LoadTable({500});
  EXPECT_EQ(Num(g.hs.HsScore[0]), 500);
  WriteRaw(Archive(), ArchiveOf({Sample(42, "New")}));
  LoadHighScores(g);  // counter 2: the table in memory is used
  EXPECT_EQ(Num(g.hs.HsScore[0]), 500);
  g.hs.HsLoadCounter = 9999;
  LoadHighScores(g);  // wraps to 0
  EXPECT_EQ(g.hs.HsLoadCounter, 0);
  LoadHighScores(g);
  EXPECT_EQ(Num(g.hs.HsScore[0]), 42);
}

TEST_F(HighScores, MissingOrDamagedArchiveIsRestoredFromTheDefaultAndKept) {
  WriteRaw(TempTxt(), ArchiveOf({Sample(321, "Default")}));
  // Missing: restored, nothing to keep.
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsName[0], "Default");
  EXPECT_EQ(RawFile(Archive()), RawFile(TempTxt()));
  EXPECT_FALSE(fs::exists(plat.DataDir() / "AtopVo118.vor.damaged"));

  // Half an archive (no end mark, fewer than eleven records): kept as .damaged, then restored.
  std::string half = ArchiveOf({Sample(999, "Mine"), Sample(998, "Mine2")});
  half = half.substr(0, half.find("END"));
  WriteRaw(Archive(), half);
  g.hs.HsLoadCounter = 0;
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsName[0], "Default");
  EXPECT_EQ(RawFile(plat.DataDir() / "AtopVo118.vor.damaged"), half);

  // No default either: an empty table, no crash.
  fs::remove(TempTxt());
  WriteRaw(Archive(), "\x01\x02");
  g.hs.HsLoadCounter = 0;
  LoadHighScores(g);
  EXPECT_EQ(g.hs.HsScore[0], "");
}

TEST_F(HighScores, InsertionKeepsOrderAndTiesGoBelow) {
  LoadTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  g.world.Soldiers[0].Date = "20261206";
  HighScoreCheck(g, 500);
  EXPECT_EQ(g.hs.NameEntryActive, kTrue);
  EXPECT_EQ(g.hs.NameRow, 5);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
  EXPECT_EQ(Num(g.hs.HsScore[4]), 500);
  EXPECT_EQ(g.hs.HsName[4], "P4");
  EXPECT_EQ(Num(g.hs.HsScore[5]), 500);
  EXPECT_EQ(Num(g.hs.HsScore[6]), 400);
  EXPECT_EQ(g.hs.HsName[6], "P5");
  EXPECT_EQ(Num(g.hs.HsScore[10]), 50);  // old slot 9 drops to the overflow slot
  // The proof picture is listed for upload.
  auto list = ReadTextLines(plat.ProgramDir() / "Upload" / "upload.txt");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->back(), "500020261206.jpg");

  LoadTable({900, 800});
  g.hs.NameEntryActive = kFalse;
  HighScoreCheck(g, 1000);  // the best result takes slot 0 and moves every other one down
  EXPECT_EQ(g.hs.NameRow, 0);
  EXPECT_EQ(Num(g.hs.HsScore[0]), 1000);
  EXPECT_EQ(Num(g.hs.HsScore[2]), 800);
}

TEST_F(HighScores, ScoresThatQualifyForNoPlace) {
  LoadTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
  EXPECT_EQ(g.menus.CurrentScreen, "");
  HighScoreCheck(g, 50);  // equals tenth, the eleventh is empty (0): lands in slot 10
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");  // only the screen changes
  EXPECT_EQ(Num(g.hs.HsScore[9]), 50);
  EXPECT_EQ(g.hs.HsName[9], "P9");
  EXPECT_FALSE(fs::exists(plat.ProgramDir() / "Upload" / "upload.txt"));
}

TEST_F(HighScores, NameEntryTypesCasesAndSaves) {
  LoadTable({900});
  HighScoreCheck(g, 100);
  ASSERT_EQ(g.hs.NameRow, 1);
  // Typed through the window: text events, then Backspace removes the x.
  for (const char* t : {"jOHN\r\n", "x"}) plat.PushEvent({.type = Event::Type::Text, .text = t});
  Event backspace;
  backspace.type = Event::Type::KeyDown;
  backspace.keyCode = 8;
  plat.PushEvent(backspace);
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
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
  EXPECT_FALSE(plat.textInput);
  Game fresh(plat);
  LoadHighScores(fresh);
  EXPECT_EQ(fresh.hs.HsName[1], "John\xE9mile");
}

TEST_F(HighScores, EmptyNameIsStoredAsImStupidAndLongNamesAreCapped) {
  LoadTable({900});
  HighScoreCheck(g, 200);
  NameEntryTyped(g, std::string(60, 'a'));
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[1].size(), 35u);  // the archive's name column
  g.form.YourName.clear();
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[1], " ");
  plat.SetKey(28, true);
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[1], "I'm stupid");
}

TEST_F(HighScores, UploadListHoldsAtMostTwentyPictures) {
  std::vector<std::string> twenty;
  for (int k = 0; k < 20; ++k) twenty.push_back("old" + std::to_string(k) + ".jpg");
  fs::create_directories(plat.ProgramDir() / "Upload");
  ASSERT_TRUE(WriteTextLines(plat.ProgramDir() / "Upload" / "upload.txt", twenty));
  LoadTable({900});
  HighScoreCheck(g, 100);
  EXPECT_EQ(*ReadTextLines(plat.ProgramDir() / "Upload" / "upload.txt"), twenty);
  EXPECT_TRUE(fs::exists(plat.ProgramDir() / "Upload" / "10000.jpg"));  // still taken

  // Lines after an empty one are dropped, then the new picture is appended.
  ASSERT_TRUE(WriteTextLines(plat.ProgramDir() / "Upload" / "upload.txt", {"a.jpg", "", "b.jpg"}));
  g.hs.NameEntryActive = kFalse;
  HighScoreCheck(g, 300);
  auto list = *ReadTextLines(plat.ProgramDir() / "Upload" / "upload.txt");
  EXPECT_EQ(list, (std::vector<std::string>{"a.jpg", "30000.jpg"}));
}

}  // namespace
}  // namespace vorlan
