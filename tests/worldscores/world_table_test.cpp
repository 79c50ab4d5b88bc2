// The world table without a server: loading (also of hostile archives), the merge and the page.
#include "worldscores/world_table.h"

#include <gtest/gtest.h>

#include "persistence/high_score_fixture.h"
#include "worldscores/score_server.h"
#include "worldscores/ws_fixture.h"

namespace vorlan {
namespace {

using namespace vorlan::testing;

TEST(WorldTableLoad, ReadsOnTheFirstCallAndEvery10000thAndEmptiesSlotsTheFileDoesNotFill) {
  Machine m("http://127.0.0.1:9", Machine::Kind::Offline);
  auto& ws = m.g->ws;
  LoadWorldScores(*m.g);  // no archive yet: the default table is copied in
  EXPECT_EQ(ReadBytes(m.Archive()), ReadBytes(m.program / "OtherFiles" / "Temp2.txt"));
  // Stale rows from an earlier, longer table must not survive a load.
  for (int i = 0; i < 101; ++i) SetWsRecord(ws, i, Result(1000 - i, "Stale"));
  ws.WsUploads = 4;
  WriteWorldArchive(m.Archive(), {Result(900, "Wanda"), Result(800, "Paul")}, 6);
  for (int i = 2; i <= 9999; ++i) LoadWorldScores(*m.g);
  EXPECT_EQ(ws.WsUploads, 4) << "the table in memory is used between reads";
  LoadWorldScores(*m.g);                             // the counter wraps to 0 here
  LoadWorldScores(*m.g);                             // and reads again at 1
  EXPECT_EQ(WsRecord(ws, 0), Result(900, "Wanda"));  // "W" scrambles to CR, "P" to LF
  EXPECT_EQ(WsRecord(ws, 1), Result(800, "Paul"));
  EXPECT_EQ(ws.WsScore[2], "     ");
  EXPECT_EQ(Count(ws, "Stale"), 0);
  EXPECT_EQ(ws.WsUploads, 7);
  EXPECT_EQ(ws.WsPrevUploads, 4);
  EXPECT_EQ(ws.WsLastUpdate, "31.12.2025");
}

TEST(WorldTableLoad, HostileArchivesLoadWithBoundedWork) {
  Machine m("http://127.0.0.1:9", Machine::Kind::Offline);
  auto& ws = m.g->ws;

  // A name with control characters is shown with blanks instead.
  WriteBytes(m.Archive(), ArchiveOf({Result(650, "Bad\x01<b>")}) + "99999999999\r\n01.02.2026\r\n");
  ReadWorldArchive(m.Archive(), ws);
  EXPECT_EQ(ws.WsName[0], "Bad <b>");
  EXPECT_EQ(ws.WsUploads, 32767) << "a huge counter saturates";

  // Cut short in the middle of a line (a transfer or a disk that gave out): the cut line and a
  // line of junk are no results.
  std::string whole = ArchiveOf({Result(900, "Wanda"), Result(4650, "Paul")});
  size_t first = whole.find("\r\n") + 2;
  WriteBytes(m.Archive(), whole.substr(0, first) + "junk\r\n" + whole.substr(first, 20));
  ReadWorldArchive(m.Archive(), ws);
  EXPECT_EQ(WsRecord(ws, 0), Result(900, "Wanda"));
  EXPECT_EQ(ws.WsScore[1], "");
  EXPECT_EQ(ws.WsScore[2], "") << "the line cut short";

  // No "END" and far more than 501 records: only the table's slots are read.
  std::vector<ScoreRecord> many;
  for (int i = 0; i < 3000; ++i) many.push_back(Result(99999 - i, "Many"));
  std::string text = ArchiveOf(many);
  WriteBytes(m.Archive(), text.substr(0, text.size() - 5));  // without its "END"
  ReadWorldArchive(m.Archive(), ws);
  EXPECT_EQ(ws.WsName[500], "Many");
  EXPECT_EQ(ws.WsScore[500], "99499");

  // A folder in the archive's place.
  std::filesystem::remove(m.Archive());
  std::filesystem::create_directory(m.Archive());
  ws.WsLoadCounter = 0;
  LoadWorldScores(*m.g);
}

TEST(WorldTableMerge, PlacesLocalResultsBelowEqualScoresAndSkipsKnownOnes) {
  Machine m("http://127.0.0.1:9");  // the web site on this machine counts as connected
  WriteWorldArchive(m.Archive(), {Result(900, "Ann"), Result(500, "Bob"), Result(300, "Cyd")}, 4);
  m.Local({Result(950, "Zed"), Result(900, "Ann"), Result(500, "Eve"), Result(300, "Fay")});
  WorldSync(*m.g);  // the upload then finds no session and ends quietly
  const auto ws = ReadArchive(m.Archive());
  EXPECT_EQ(std::vector<std::string>(ws.WsName.begin(), ws.WsName.begin() + 6),
            (std::vector<std::string>{"Zed", "Ann", "Bob", "Eve", "Cyd", "Fay"}));
  EXPECT_EQ(Count(ws, "Ann"), 1) << "same score and name is not added again";
  EXPECT_EQ(ws.WsUploads, 6) << "the saved archive counts this upload";
  // The saved plain copy and its program-folder copy hold the same table unscrambled.
  auto plain = ReadBytes(m.data / "AtopwUNCRYPTED.vor");
  EXPECT_NE(plain.find("N=Zed\r\n"), std::string::npos);
  EXPECT_EQ(plain, ReadBytes(m.program / "OtherFiles" / "WorldScores.txt"));
}

TEST(WorldTableMerge, MarksNewcomersAndMovedRowsAndSendsLosersToTheOverflowSlot) {
  Machine m("http://127.0.0.1:9");
  std::vector<ScoreRecord> full;
  for (int i = 0; i < 100; ++i) full.push_back(Result(10000 - i * 10, "W" + std::to_string(i)));
  WriteWorldArchive(m.Archive(), full, 0);
  m.Local({Result(9995, "New"), Result(1, "Tiny")});
  WorldSync(*m.g);
  const auto& ws = m.g->ws;
  EXPECT_EQ(ws.WsName[1], "New");
  EXPECT_EQ(ws.WsMark[1], 1);
  EXPECT_EQ(ws.WsMark[99], 2);
  EXPECT_EQ(ws.WsName[100], "Tiny") << "a result that beats nothing lands in the overflow slot";
  EXPECT_EQ(ws.WsName[99], "W98");
}

TEST(WorldTableMerge, StopsWhenNotConnected) {
  Machine m("http://score.example.invalid", Machine::Kind::Offline);
  WriteWorldArchive(m.Archive(), {Result(900, "Ann")}, 4);
  auto before = ReadBytes(m.Archive());
  m.Local({Result(950, "Zed")});
  WorldSync(*m.g);
  EXPECT_EQ(ReadBytes(m.Archive()), before);
}

// The page below crosses a year; the last day of a month keeps its month.
TEST(WorldPage, CutOffIsOneMonthBack) { EXPECT_EQ(CutOffDate("20260331"), 20260301); }

TEST(WorldPage, FollowsTheTemplateWithOneRowPerResult) {
  Machine m("http://scores.example:8421/");
  auto& ws = m.g->ws;
  for (int i = 0; i < 37; ++i)
    SetWsRecord(ws, i, Result(5000 - i, "P" + std::to_string(i), 12, i % 2 ? 20251230 : 20251130));
  SetWsRecord(ws, 0, Result(9000, "Top", 31, 20251201, 5));  // level 20
  ws.WsUploads = 9;
  m.plat->environment = {{"LC_ALL", ""}, {"LANG", "de_AT.UTF-8"}};
  WriteWorldPage(*m.g);
  auto lines = ReadLines(m.Page()).value_or(std::vector<std::string>{});
  ASSERT_EQ(lines.size(), 29u + 37u * 6u + 9u);
  EXPECT_EQ(lines[14], "</FONT><FONT SIZE='2'>01.01.2026 / 10 uploads</FONT><BR>");
  EXPECT_EQ(lines[28], "<!-- head 28 -->");
  EXPECT_EQ(lines[29], "    <TR>");
  EXPECT_EQ(lines[30], "        <TD WIDTH='5%'><FONT NAME='Arial' SIZE='2'>001.</FONT></TD>");
  EXPECT_EQ(lines[31], "        <TD WIDTH='5%'><FONT NAME='Arial' SIZE='2'>9000 </FONT></TD>");
  EXPECT_EQ(
      lines[32],
      "        <TD WIDTH='60%'><IMG SRC='http://scores.example:8421/Games/Vorlan/VorlanWSnew.jpg' "
      "WIDTH='10' HEIGHT='11' ALIGN='BOTTOM' BORDER='0'><A HREF='http://scores.example:8421/Games/"
      "Vorlan/scores/90003120251201.jpg' TARGET='_blank'> <FONT NAME='Arial' SIZE='2'>Top</FONT></A></TD>");
  EXPECT_EQ(lines[33], "        <TD WIDTH='30%'><FONT NAME='Arial' SIZE='2'>20 Captain</FONT></TD>");
  // Results from the cut-off date on are new, older ones old.
  EXPECT_NE(lines[29 + 6 + 3].find("VorlanWSnew.jpg"), std::string::npos);
  EXPECT_NE(lines[29 + 12 + 3].find("VorlanWSold.jpg"), std::string::npos);
  EXPECT_NE(lines[29 + 36 * 6 + 1].find(">037.<"), std::string::npos);
  size_t t = 29 + 37 * 6;
  EXPECT_EQ(lines[t], "</TABLE>");
  EXPECT_EQ(lines[t + 3], "Updates by all users: 10<BR>");
  EXPECT_EQ(lines[t + 4],
            "Last update came from Austria (\xD6sterreich)<BR><BR>");  // the first locale variable set
  EXPECT_EQ(lines[t + 8], "</HTML>");
}

TEST(WorldPage, EscapesEveryTextFromOtherPlayers) {
  Machine m("http://127.0.0.1:8421");
  auto& ws = m.g->ws;
  SetWsRecord(ws, 0, Result(700, "<script>alert('x')</script> & \"co\""));
  ws.WsScore[1] = "<b>9";
  ws.WsName[1] = "Evil";
  WriteWorldPage(*m.g);
  std::string page = ReadBytes(m.Page());
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;co&quot;"),
            std::string::npos);
  // A score column that is not a number ends the table instead of reaching the page.
  EXPECT_EQ(page.find("<b>9"), std::string::npos);
  EXPECT_EQ(HtmlEscape("a\r\nb\x7f"), "a  b ");
}

TEST(UploadList, OnlyPlainPictureNamesPass) {
  EXPECT_TRUE(PlainPictureName("Proof 7.JPG"));
  for (const char* bad : {"../x.jpg", "a/b.jpg", "a\\b.jpg", "c:x.jpg", ".jpg", "x.jpg.sh", "", "x\r\n.jpg"})
    EXPECT_FALSE(PlainPictureName(bad)) << bad;
}

}  // namespace
}  // namespace vorlan
