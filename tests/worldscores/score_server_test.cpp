// Synchronisations against the real score server (FTP + HTTP on 127.0.0.1), the version check,
// and servers that fall behind or never answer.
#include "worldscores/score_server.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "shell/input.h"
#include "worldscores/ws_fixture.h"

namespace vorlan {
namespace {

using namespace vorlan::testing;

// Files clients left beside the archive in an FTP home: archives taken away, uploads not renamed
// into place. A client's deletes are answered before its sync ends, even a cancelled one.
int LeftIn(const std::filesystem::path& home) {
  int left = 0;
  for (const auto& e : std::filesystem::directory_iterator(home)) {
    std::string name = e.path().filename().string();
    left += name.starts_with("AtopwVo118.") && name != "AtopwVo118.vor";
  }
  return left;
}

// Lets time pass for the files on a server: they were written that long ago.
void AgeFiles(const std::filesystem::path& home, std::chrono::seconds by) {
  for (const auto& e : std::filesystem::directory_iterator(home))
    std::filesystem::last_write_time(e.path(), e.last_write_time() - by);
}

// An FTP server the game reaches through the address file of a web site.
struct FtpSide {
  std::string site;
  std::filesystem::path webFolder, home;
  int port;
  std::string login;
  std::filesystem::path Archive() const { return home / "AtopwVo118.vor"; }
  // Sends the game to the FTP server through a relay.
  void Through(const FaultRelay& relay) const {
    WriteBytes(webFolder / "WSserver.txt", FtpAddressLine(relay.port, login));
  }
};

class ScoreServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server = std::make_unique<ScoreServer>();
    ASSERT_TRUE(server->Ready()) << "scripts/score-server did not start (python3-pyftpdlib missing?)";
  }
  std::filesystem::path ServerArchive() const { return server->Home() / "AtopwVo118.vor"; }
  int LeftOnServer() const { return LeftIn(server->Home()); }
  FtpSide Side() const {
    return {server->Site(), server->WebFolder(), server->Home(), server->ftpPort,
            "vorlan                        meadow"};
  }
  std::unique_ptr<ScoreServer> server;
};

TEST_F(ScoreServerTest, SyncUploadsArchivePageAndListedPicturesOnceAndKeepsTheBackup) {
  Machine m(server->Site());
  m.Local({Result(1500, "Wilma", 40, 20251230), Result(1200, "Pete"), Result(300, "Ida")});
  auto upload = m.program / "upload";
  const char* pictures[] = {"15004020251230.jpg", "12001020251220.jpg", "3001020251220.jpg"};
  for (const char* pic : pictures) WriteBytes(upload / pic, std::string("JPEG ") + pic);
  // Names that would reach outside the upload folder are neither sent nor deleted.
  WriteBytes(m.program / "secret.jpg", "keep me");
  WriteBytes(upload / "notes.txt", "not a picture");
  WriteBytes(upload / "upload.txt",
             "15004020251230.jpg\r\n../secret.jpg\r\n12001020251220.jpg\r\nnotes.txt\r\n\r\n"
             "3001020251220.jpg\r\n/etc/passwd\r\n");

  DownloadScores(*m.g);

  EXPECT_FALSE(m.g->ws.SyncAborted);
  ASSERT_TRUE(std::filesystem::exists(ServerArchive()));
  EXPECT_EQ(ReadBytes(ServerArchive()), ReadBytes(m.Backup())) << "the backup is what was uploaded";
  EXPECT_EQ(LeftOnServer(), 0);
  EXPECT_EQ(ReadBytes(server->Home() / "worldscoresVo118.htm"), ReadBytes(m.Page()));
  for (const char* pic : pictures) {
    EXPECT_EQ(ReadBytes(server->Home() / pic), std::string("JPEG ") + pic);
    EXPECT_FALSE(std::filesystem::exists(upload / pic)) << "sent pictures are deleted";
  }
  EXPECT_FALSE(std::filesystem::exists(upload / "upload.txt"));
  EXPECT_EQ(ReadBytes(m.program / "secret.jpg"), "keep me");
  EXPECT_TRUE(std::filesystem::exists(upload / "notes.txt"));
  EXPECT_FALSE(std::filesystem::exists(server->Home() / "secret.jpg"));
  // The template came from the server, and the next screen pass reads the new table.
  EXPECT_NE(ReadBytes(m.program / "OtherFiles" / "default.htm").find("VORLAN: IRON MEADOW"),
            std::string::npos);
  m.ScreenLoad();
  EXPECT_EQ(m.g->ws.WsName[2], "Ida");
  EXPECT_EQ(m.g->ws.WsUploads, 1);

  // Synchronising again adds no duplicates but counts the upload.
  DownloadScores(*m.g);
  auto onServer = ReadArchive(ServerArchive());
  EXPECT_EQ(Count(onServer, "Wilma") + Count(onServer, "Ida"), 2);
  EXPECT_EQ(onServer.WsUploads, 2);
}

TEST_F(ScoreServerTest, AServerThatFellBehindGetsTheBackupBack) {
  Machine m(server->Site());
  m.Local({Result(1500, "Wilma")});
  DownloadScores(*m.g);
  std::string stale = ReadBytes(ServerArchive());  // counter 1
  for (int i = 0; i < 2; ++i) {
    m.ScreenLoad();
    DownloadScores(*m.g);
  }
  m.ScreenLoad();  // this machine last uploaded counter 3
  std::string latest = ReadBytes(ServerArchive());
  ASSERT_EQ(latest, ReadBytes(m.Backup()));

  WriteBytes(ServerArchive(), stale);  // the server lost two uploads
  m.Local({Result(1500, "Wilma"), Result(1400, "Unmerged")});
  DownloadScores(*m.g);
  EXPECT_EQ(ReadBytes(ServerArchive()), latest) << "the backup is put back, nothing merged";
  EXPECT_EQ(Count(ReadArchive(ServerArchive()), "Unmerged"), 0);
}

TEST_F(ScoreServerTest, VersionCheckAsksOnlyWhenTheAnnouncementIsNewer) {
  Machine m(server->Site());
  auto& plat = *m.plat;
  for (const char* v : {"1200", "1199", "999"}) {
    server->Announce(v);
    EXPECT_FALSE(CheckNewVersion(*m.g)) << v;
  }
  EXPECT_TRUE(plat.messageBoxes.empty());
  server->Announce("1210", "Vorlan1210.zip");
  plat.SetMessageBoxAnswer(kIdYes);
  EXPECT_TRUE(CheckNewVersion(*m.g));
  EXPECT_EQ(plat.messageBoxes, (std::vector<std::string>{
                                   "Vorlan|Your version: 1200\r\nNew Vorlan 1210 is online.\r\nIf you want "
                                   "to upload scores you must download the latest version of Vorlan",
                                   "Vorlan|Do you want to download it now?"}));
  EXPECT_EQ(plat.openedUrls, std::vector<std::string>{server->Site() + "/Games/Vorlan/Vorlan1210.zip"});

  // Declining stops the synchronisation before anything is touched; odd download names are never opened.
  plat.messageBoxes.clear();
  plat.openedUrls.clear();
  plat.SetMessageBoxAnswer(kIdNo);
  server->Announce("1210", "../../evil");
  std::string before = ReadBytes(ServerArchive());
  m.Local({Result(1500, "Wilma")});
  DownloadScores(*m.g);
  EXPECT_EQ(plat.messageBoxes.size(), 2u);
  EXPECT_TRUE(plat.openedUrls.empty());
  EXPECT_EQ(ReadBytes(ServerArchive()), before);
  EXPECT_FALSE(std::filesystem::exists(m.Archive()));
  std::filesystem::remove(server->WebFolder() / "NewVer.txt");
  EXPECT_FALSE(CheckNewVersion(*m.g)) << "a missing version file is no news";
}

// The local files of a machine that must not change when a synchronisation fails.
std::string LocalState(const Machine& m) {
  return ReadBytes(m.Archive()) + "|" + ReadBytes(m.Backup()) + "|" +
         ReadBytes(m.program / "upload" / "upload.txt");
}

// A web site, then an FTP server, that accept the connection and never answer: each ends the
// synchronisation within the call limits; with call limits longer than the whole exchange, its
// deadline ends it. The local files stay as they were.
TEST_F(ScoreServerTest, ServersThatNeverAnswerEndTheSyncAndKeepTheTables) {
  SilentServer silent;
  ASSERT_GT(silent.port, 0);
  enum { SilentSite, SilentFtp, Deadline };
  for (int c : {SilentSite, SilentFtp, Deadline}) {
    SCOPED_TRACE(c);
    if (c != SilentSite)
      WriteBytes(server->WebFolder() / "WSserver.txt",
                 FtpAddressLine(silent.port, "vorlan                        meadow"));
    Machine m(c == SilentSite ? "http://127.0.0.1:" + std::to_string(silent.port) : server->Site());
    if (c == Deadline) {
      m.plat->realClock = true;
      m.SetLimits(60, 60, 1);
    }
    WriteBytes(m.Archive(), "world archive");
    WriteBytes(m.program / "upload" / "upload.txt", "a.jpg\r\n");
    std::string before = LocalState(m);
    m.Local({Result(700, "First")});
    auto start = std::chrono::steady_clock::now();
    DownloadScores(*m.g);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              c == Deadline ? 5.0 : 15.0);
    EXPECT_TRUE(m.g->ws.SyncAborted);
    EXPECT_EQ(m.g->ws.SyncFailure, c == Deadline ? "TIMED OUT" : "SERVER NOT REACHABLE");
    EXPECT_EQ(LocalState(m), before);
  }
}

TEST_F(ScoreServerTest, NetworkSessionRefusesBadNamesAndBoundsDownloads) {
  Machine m(server->Site());
  Network& net = m.g->plat.Net();
  ASSERT_EQ(net.FtpConnect("127.0.0.1:" + std::to_string(server->ftpPort), "vorlan", "meadow"),
            NetStatus::Ok);
  EXPECT_EQ(net.FtpDelete("x.tmp\r\nDELE AtopwVo118.vor"), NetStatus::Refused);
  EXPECT_TRUE(std::filesystem::exists(ServerArchive()));
  net.FtpClose();
  EXPECT_EQ(net.FtpConnect("evil.host/path@x", "vorlan", "meadow"), NetStatus::Refused);

  // An answer larger than allowed is cut off and the old file stays.
  WriteBytes(m.data / "page.txt", "old");
  WriteBytes(server->WebFolder() / "big.txt", std::string(100000, 'b'));
  NetLimits small = net.Limits();
  small.maxDownloadBytes = 1000;
  net.SetLimits(small);
  EXPECT_EQ(net.DownloadUrl(server->Site() + "/Games/Vorlan/big.txt", m.data / "page.txt"),
            NetStatus::Failed);
  EXPECT_EQ(ReadBytes(m.data / "page.txt"), "old");
  EXPECT_EQ(net.DownloadUrl("file:///etc/passwd", m.data / "page.txt"), NetStatus::Refused);
  EXPECT_EQ(ReadBytes(m.data / "page.txt"), "old");
}

// Puts a world archive with `earlier` results ("Earlier0" 9000, "Earlier1" 8900, ...) on a server
// and returns their names.
std::vector<std::string> PutEarlierResults(const std::filesystem::path& serverArchive, int earlier) {
  std::vector<ScoreRecord> results;
  std::vector<std::string> names;
  for (int i = 0; i < earlier; ++i) {
    names.push_back("Earlier" + std::to_string(i));
    results.push_back(Result(9000 - 100 * i, names.back()));
  }
  WriteWorldArchive(serverArchive, results, 9);
  return names;
}

// How many of the names are not exactly once in places 1 to 100 of a server's archive.
int Missing(const std::filesystem::path& serverArchive, const std::vector<std::string>& names) {
  auto onServer = ReadArchive(serverArchive);
  return static_cast<int>(std::ranges::count_if(names, [&](auto& n) { return Count(onServer, n) != 1; }));
}

// How a player's synchronisation ended.
enum Outcome { Synchronised = 0, FailedKeepingItsTables = 1, FailedLosingItsTables = 2 };

// Players, each a process with its own game and folders and its own local table, synchronise at
// the same moment. Returns each one's outcome.
std::vector<int> SyncAtOnce(const std::string& site, const std::vector<std::vector<ScoreRecord>>& tables) {
  int gate[2];
  if (pipe(gate) != 0) return std::vector<int>(tables.size(), FailedLosingItsTables);
  auto play = [&](const std::vector<ScoreRecord>& table) {
    close(gate[1]);
    Machine m(site);
    // A crowd on a loaded machine (or under the sanitizers) waits its turn at the server far
    // longer than one player does.
    m.plat->realClock = true;  // a player that never finishes ends at its deadline
    m.SetLimits(20, 60, 60);
    m.Local(table);
    char c;
    if (read(gate[0], &c, 1) != 0) return FailedLosingItsTables;  // the gate opens when the writer closes
    DownloadScores(*m.g);
    if (!m.g->ws.SyncAborted) return Synchronised;
    for (size_t i = 0; i < table.size(); ++i)
      if (!(HsRecord(m.g->hs, static_cast<int>(i)) == table[i])) return FailedLosingItsTables;
    return FailedKeepingItsTables;
  };
  std::vector<pid_t> players;
  for (const auto& table : tables) {
    pid_t pid = fork();
    if (pid == 0) _exit(play(table));
    players.push_back(pid);
  }
  close(gate[0]);
  close(gate[1]);
  std::vector<int> outcomes;
  for (pid_t pid : players) {
    int status = 0;
    waitpid(pid, &status, 0);
    outcomes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : FailedLosingItsTables);
  }
  return outcomes;
}

// Whether a result is on a server: in its archive or in one a client took away.
bool OnServer(const std::filesystem::path& home, const std::string& name) {
  for (const auto& e : std::filesystem::directory_iterator(home))
    if (e.path().filename().string().starts_with("AtopwVo118.vor") && Count(ReadArchive(e.path()), name) > 0)
      return true;
  return false;
}

// A crowd of players synchronises at once, each with a new result, twice on a faulty network
// (the answers to the first renames into place lost, others held back, a tenth of the connections
// cut) and then again on a clean one, after the files left behind have grown old. Players told
// "synchronised" have their results on the server, the others still in their tables; the clean
// round brings every result in, leaves nothing behind and needs one connection a player.
void ExpectCrowdLosesNothing(const FtpSide& ftp, int players) {
  const auto& home = ftp.home;
  auto earlier = PutEarlierResults(home / "AtopwVo118.vor", 30);
  std::vector<std::vector<ScoreRecord>> tables(players);
  std::vector<std::string> names;
  const std::vector<std::string> faults = {"swallow:RNTO:AtopwVo118.vor:1,2,3",
                                           "hold:RNTO:AtopwVo118.vor:6,9:2", "hold:RETR:AtopwVo118.vor:4:2"};
  for (int round = 0; round < 3; ++round) {
    bool faulty = round < 2;
    if (faulty) {
      for (int k = 0; k < players; ++k) {
        names.push_back("R" + std::to_string(round) + "P" + std::to_string(k));
        tables[k].insert(tables[k].begin(), Result(4000 - 10 * k - round, names.back()));
      }
    } else {
      AgeFiles(home, std::chrono::minutes(1));
    }
    FaultRelay relay(ftp.port, faulty ? faults : std::vector<std::string>{}, faulty ? 0.12 : 0, round + 5);
    ASSERT_TRUE(relay.Ready());
    ftp.Through(relay);
    auto start = std::chrono::steady_clock::now();
    auto outcomes = SyncAtOnce(ftp.site, tables);
    int synced = 0, lost = 0;
    for (int k = 0; k < players; ++k) {
      EXPECT_NE(outcomes[k], FailedLosingItsTables) << "player " << k;
      if (outcomes[k] != Synchronised) continue;
      ++synced;
      for (const auto& r : tables[k]) {
        lost += !OnServer(home, r.Name);
        EXPECT_TRUE(OnServer(home, r.Name)) << r.Name << " was told it was synchronised";
      }
    }
    // A new connection only where one broke off.
    int opens = relay.Count("open");
    EXPECT_LE(opens, players + relay.Count("swallow") + relay.Count("cut"));
    std::printf(
        "round %d: %d players, %d synchronised, %d faults (%d lost answers, %d held, %d cuts), "
        "%d results lost, %d connections, %.1f s\n",
        round, players, synced, relay.Faults(), relay.Count("swallow"), relay.Count("hold"),
        relay.Count("cut"), lost, opens,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!faulty) {
      EXPECT_EQ(synced, players);
      EXPECT_EQ(opens, players);
    }
  }
  EXPECT_EQ(Missing(home / "AtopwVo118.vor", names), 0);
  EXPECT_EQ(Missing(home / "AtopwVo118.vor", earlier), 0);
  EXPECT_EQ(LeftIn(home), 0);
}

TEST_F(ScoreServerTest, ACrowdOnAFaultyNetworkLosesNoResult) { ExpectCrowdLosesNothing(Side(), 25); }

// Player A's answer to its rename into place is lost; player C synchronises before A learns what
// happened. A must not put the archive it took back over C's.
void ExpectALostAnswerToTheRenameIntoPlaceCountsAsDone(const FtpSide& ftp) {
  PutEarlierResults(ftp.Archive(), 3);
  FaultRelay relay(ftp.port, {"swallow:RNTO:AtopwVo118.vor:1"});
  ASSERT_TRUE(relay.Ready());
  ftp.Through(relay);
  Machine a(ftp.site, Machine::Kind::Hooked), c(ftp.site);
  a.Local({Result(5000, "Anna")});
  c.Local({Result(4000, "Carl")});
  bool cSynced = false;
  a.hooked.afterRename = [&](std::string_view to, NetStatus answer) {
    if (to != "AtopwVo118.vor" || answer != NetStatus::Failed || cSynced) return;
    DownloadScores(*c.g);
    cSynced = !c.g->ws.SyncAborted;
  };
  DownloadScores(*a.g);
  EXPECT_EQ(relay.Count("swallow"), 1);
  EXPECT_TRUE(cSynced) << c.g->ws.SyncFailure;
  EXPECT_FALSE(a.g->ws.SyncAborted) << a.g->ws.SyncFailure;
  EXPECT_EQ(Missing(ftp.Archive(), {"Anna", "Carl", "Earlier0", "Earlier1", "Earlier2"}), 0);
  EXPECT_EQ(ReadArchive(ftp.Archive()).WsUploads, 12) << "two uploads over the earlier 10";
  EXPECT_EQ(LeftIn(ftp.home), 0);
  EXPECT_EQ(relay.Count("open"), 3) << "A logs in again once, after its connection broke";
}

// A connection that breaks while the client looks for the archive is no answer, not a refusal.
void ExpectAConnectionBrokenWhileLookingIsNoAnswer(const FtpSide& ftp) {
  std::filesystem::remove(ftp.Archive());  // the download is refused, so the client looks
  for (const char* rule : {"cut:SIZE:AtopwVo118.vor:2,3,4,5,6", "cut:NLST::all"}) {
    FaultRelay relay(ftp.port, {rule});
    ASSERT_TRUE(relay.Ready());
    ftp.Through(relay);
    Machine m(ftp.site);
    WriteBytes(m.Archive(), "world archive");
    m.Local({Result(700, "First")});
    DownloadScores(*m.g);
    EXPECT_GT(relay.Count("cut"), 0) << rule;
    EXPECT_EQ(m.g->ws.SyncFailure, "SERVER NOT REACHABLE") << rule;
    EXPECT_EQ(ReadBytes(m.Archive()), "world archive");
  }
}

TEST_F(ScoreServerTest, ARenameIntoPlaceWhoseAnswerWasLostCountsAsDone) {
  ExpectALostAnswerToTheRenameIntoPlaceCountsAsDone(Side());
}

TEST_F(ScoreServerTest, AConnectionBrokenWhileLookingAtTheArchiveIsNoAnswer) {
  ExpectAConnectionBrokenWhileLookingIsNoAnswer(Side());
}

TEST_F(ScoreServerTest, AnUploadGoneBeforeItsRenameGoesUpAgainAndNothingIsDeleted) {
  PutEarlierResults(ServerArchive(), 3);
  Machine m(server->Site(), Machine::Kind::Hooked);
  m.Local({Result(5000, "Quick")});
  int renames = 0;
  m.hooked.beforeRename = [&](std::string_view from) -> std::optional<NetStatus> {
    // Another client removes our upload just before we rename it into place.
    if (from.rfind("AtopwVo118.tmp.", 0) == 0 && renames++ == 0)
      std::filesystem::remove(server->Home() / std::string(from));
    return std::nullopt;
  };
  DownloadScores(*m.g);
  EXPECT_FALSE(m.g->ws.SyncAborted) << m.g->ws.SyncFailure;
  EXPECT_EQ(renames, 2);
  EXPECT_EQ(Missing(ServerArchive(), {"Quick", "Earlier0", "Earlier1", "Earlier2"}), 0);
  EXPECT_EQ(LeftOnServer(), 0);
}

TEST_F(ScoreServerTest, ABrokenDownloadOfTheTakenArchiveIsTriedAgain) {
  PutEarlierResults(ServerArchive(), 3);
  Machine m(server->Site(), Machine::Kind::Hooked);
  m.Local({Result(5000, "Steady")});
  int broken = 0;
  m.hooked.beforeGet = [&](std::string_view name) -> std::optional<NetStatus> {
    if (!name.starts_with("AtopwVo118.vor.") || broken == 2) return std::nullopt;
    ++broken;
    return NetStatus::Failed;
  };
  DownloadScores(*m.g);
  EXPECT_FALSE(m.g->ws.SyncAborted) << m.g->ws.SyncFailure;
  EXPECT_EQ(broken, 2);
  EXPECT_EQ(Missing(ServerArchive(), {"Steady", "Earlier0", "Earlier1", "Earlier2"}), 0);
}

TEST_F(ScoreServerTest, ARefusedArchiveDownloadLeavesBothTablesAsTheyWere) {
  PutEarlierResults(ServerArchive(), 3);
  Machine m(server->Site(), Machine::Kind::Hooked);
  WriteBytes(m.Archive(), "world archive");
  WriteBytes(m.Backup(), "backup");
  m.Local({Result(5000, "Refused")});
  std::string before = ReadBytes(ServerArchive());
  // Listed but not given (a permission slip on the server): not the same as no archive.
  m.hooked.beforeGet = [](std::string_view name) -> std::optional<NetStatus> {
    if (name == "AtopwVo118.vor") return NetStatus::Refused;
    return std::nullopt;
  };
  DownloadScores(*m.g);
  EXPECT_TRUE(m.g->ws.SyncAborted);
  EXPECT_EQ(m.g->ws.SyncFailure, "SERVER REFUSED");
  EXPECT_EQ(ReadBytes(ServerArchive()), before);
  EXPECT_EQ(LocalState(m), "world archive|backup|");
}

TEST_F(ScoreServerTest, EscapeAndClosingTheWindowEndTheSyncCleanly) {
  PutEarlierResults(ServerArchive(), 3);
  std::string before = ReadBytes(ServerArchive());
  for (bool close : {false, true}) {
    Machine m(server->Site());
    WriteBytes(m.Archive(), "world archive");
    m.Local({Result(5000, "Cancelled")});
    if (close)
      m.plat->PushEvent({.type = Event::Type::Close, .text = {}});
    else
      m.plat->SetKey(dik::Escape, true);
    DownloadScores(*m.g);
    EXPECT_EQ(m.g->ws.SyncFailure, "CANCELLED");
    EXPECT_EQ(ReadBytes(m.Archive()), "world archive");
    EXPECT_EQ(ReadBytes(ServerArchive()), before);
  }

  // Escape while the archive is taken away: it goes back in place before the sync stops.
  Machine m(server->Site(), Machine::Kind::Hooked);
  m.hooked.beforeRename = [&](std::string_view from) -> std::optional<NetStatus> {
    if (from == "AtopwVo118.vor") m.plat->SetKey(dik::Escape, true);
    return std::nullopt;
  };
  m.Local({Result(5000, "Late")});
  DownloadScores(*m.g);
  EXPECT_EQ(m.g->ws.SyncFailure, "CANCELLED");
  EXPECT_EQ(Missing(ServerArchive(), {"Earlier0", "Earlier1", "Earlier2"}), 0);
  EXPECT_EQ(LeftOnServer(), 0);
}

// A client stopped while it held the archive (its upload gone), another left an upload cut short
// a minute ago: the next synchronisation merges the one and deletes the other, and leaves alone
// the upload a client has just begun.
TEST_F(ScoreServerTest, WhatStoppedClientsLeftIsMergedOrDeletedAndClientsAtWorkAreLeftAlone) {
  PutEarlierResults(server->Home() / "AtopwVo118.vor.1000000000deadbeefdeadbeef-0", 3);
  std::filesystem::remove(ServerArchive());
  WriteBytes(server->Home() / "AtopwVo118.tmp.1000000000cafecafecafecafe", "");
  AgeFiles(server->Home(), std::chrono::minutes(1));
  auto atWork = server->Home() / "AtopwVo118.tmp.2000000000feedfeedfeedfeed";
  WriteBytes(atWork, "");
  Machine m(server->Site());
  m.Local({Result(5000, "Patient")});
  DownloadScores(*m.g);
  EXPECT_FALSE(m.g->ws.SyncAborted) << m.g->ws.SyncFailure;
  EXPECT_EQ(Missing(ServerArchive(), {"Patient", "Earlier0", "Earlier1", "Earlier2"}), 0);
  EXPECT_EQ(LeftOnServer(), 1);
  EXPECT_TRUE(std::filesystem::exists(atWork));
}

// The same exchange against vsftpd, a server a real deployment would use.
TEST(VsftpdExchange, ACrowdAndLostAnswersOnAFaultyNetworkLoseNothingAndRefusalsChangeNothing) {
  Vsftpd vsftpd;
  if (!vsftpd.Ready())
    GTEST_SKIP() << "vsftpd is not installed or would not start (scripts/deps installs it)";
  ScoreServer web;  // the web site with the address file, pointed at vsftpd
  ASSERT_TRUE(web.Ready());
  WriteBytes(vsftpd.home / "default.htm", TemplateText());
  const FtpSide ftp{web.Site(), web.WebFolder(), vsftpd.home, vsftpd.port, "anonymous"};
  ExpectCrowdLosesNothing(ftp, 20);
  ExpectALostAnswerToTheRenameIntoPlaceCountsAsDone(ftp);

  // vsftpd answers a download it will not give (here: not readable by all) exactly as a missing
  // file; the listing tells them apart.
  WriteBytes(web.WebFolder() / "WSserver.txt", FtpAddressLine(vsftpd.port, "anonymous"));
  std::filesystem::permissions(ftp.Archive(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::string before = ReadBytes(ftp.Archive());
  Machine m(web.Site());
  WriteBytes(m.Archive(), "world archive");
  m.Local({Result(5000, "Refused")});
  DownloadScores(*m.g);
  EXPECT_EQ(m.g->ws.SyncFailure, "SERVER REFUSED");
  EXPECT_EQ(ReadBytes(ftp.Archive()), before);
  EXPECT_EQ(ReadBytes(m.Archive()), "world archive");

  ExpectAConnectionBrokenWhileLookingIsNoAnswer(ftp);
}

}  // namespace
}  // namespace vorlan
