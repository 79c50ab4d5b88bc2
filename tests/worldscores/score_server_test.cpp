// Synchronisations against the real score server (FTP + HTTP on 127.0.0.1), the version check,
// and servers that fall behind or never answer.
#include "worldscores/score_server.h"

#include <gtest/gtest.h>

#include <chrono>

#include "worldscores/ws_fixture.h"

namespace vorlan {
namespace {

using testing::Count;
using testing::Machine;
using testing::ReadArchive;
using testing::ReadBytes;
using testing::Result;
using testing::ScoreServer;
using testing::SilentServer;
using testing::WriteBytes;

class ScoreServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server = std::make_unique<ScoreServer>();
    ASSERT_TRUE(server->Ready()) << "scripts/score-server did not start (python3-pyftpdlib missing?)";
  }
  std::filesystem::path ServerArchive() const { return server->Home() / "AtopwVo118.vor"; }
  std::unique_ptr<ScoreServer> server;
};

TEST_F(ScoreServerTest, SyncUploadsArchivePageAndListedPicturesAndKeepsTheBackup) {
  Machine m(server->Site());
  m.Local({Result(1500, "Wilma", 40, 20251230), Result(1200, "Pete"), Result(300, "Ida")});
  auto upload = m.program / "upload";
  for (const char* pic : {"15004020251230.jpg", "12001020251220.jpg", "3001020251220.jpg"})
    WriteBytes(upload / pic, std::string("JPEG ") + pic);
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
  EXPECT_EQ(ReadBytes(ServerArchive()), ReadBytes(m.Archive()));
  EXPECT_FALSE(std::filesystem::exists(server->Home() / "AtopwVo118.tmp"));
  EXPECT_EQ(ReadBytes(server->Home() / "worldscoresVo118.htm"), ReadBytes(m.Page()));
  EXPECT_NE(ReadBytes(m.Page()).find(">Wilma</FONT>"), std::string::npos);
  for (const char* pic : {"15004020251230.jpg", "12001020251220.jpg", "3001020251220.jpg"}) {
    EXPECT_EQ(ReadBytes(server->Home() / pic), std::string("JPEG ") + pic);
    EXPECT_FALSE(std::filesystem::exists(upload / pic)) << "sent pictures are deleted";
  }
  EXPECT_FALSE(std::filesystem::exists(upload / "upload.txt"));
  EXPECT_EQ(ReadBytes(m.program / "secret.jpg"), "keep me");
  EXPECT_TRUE(std::filesystem::exists(upload / "notes.txt"));
  EXPECT_FALSE(std::filesystem::exists(server->Home() / "secret.jpg"));
  EXPECT_FALSE(std::filesystem::exists(server->Home() / "notes.txt"));
  // The template came from the server, and the next screen pass reads the new table.
  EXPECT_NE(ReadBytes(m.program / "OtherFiles" / "default.htm").find("VORLAN: IRON MEADOW"),
            std::string::npos);
  EXPECT_EQ(m.g->ws.WsLoadCounter, 0);
  m.ScreenLoad();
  EXPECT_EQ(m.g->ws.WsName[0], "Wilma");
  EXPECT_EQ(m.g->ws.WsName[2], "Ida");
  EXPECT_EQ(m.g->ws.WsUploads, 1);
}

TEST_F(ScoreServerTest, SyncingTwiceAddsNoDuplicatesButCountsTheUpload) {
  Machine m(server->Site());
  m.Local({Result(1500, "Wilma"), Result(1200, "Pete")});
  DownloadScores(*m.g);
  m.ScreenLoad();
  DownloadScores(*m.g);
  auto onServer = ReadArchive(ServerArchive());
  EXPECT_EQ(Count(onServer->g->ws, "Wilma"), 1);
  EXPECT_EQ(Count(onServer->g->ws, "Pete"), 1);
  EXPECT_EQ(onServer->g->ws.WsUploads, 2);
  EXPECT_EQ(ReadBytes(ServerArchive()), ReadBytes(m.Backup()));
}

TEST_F(ScoreServerTest, TwoPlayersSyncingInTurnBothReachTheWorldTable) {
  Machine anna(server->Site()), bert(server->Site());
  anna.Local({Result(800, "Anna"), Result(200, "Anna")});
  bert.Local({Result(900, "Bert"), Result(100, "Bert")});
  DownloadScores(*anna.g);
  DownloadScores(*bert.g);
  anna.ScreenLoad();
  DownloadScores(*anna.g);
  auto onServer = ReadArchive(ServerArchive());
  const auto& ws = onServer->g->ws;
  EXPECT_EQ(ws.WsName[0], "Bert");
  EXPECT_EQ(ws.WsName[1], "Anna");
  EXPECT_EQ(ws.WsName[2], "Anna");
  EXPECT_EQ(ws.WsName[3], "Bert");
  EXPECT_EQ(ws.WsScore[4], "     ");
  EXPECT_EQ(ws.WsUploads, 3);
}

TEST_F(ScoreServerTest, AServerThatFellBehindGetsTheBackupBack) {
  Machine m(server->Site());
  m.Local({Result(1500, "Wilma")});
  DownloadScores(*m.g);
  std::string stale = ReadBytes(ServerArchive());  // counter 1
  m.ScreenLoad();
  DownloadScores(*m.g);
  m.ScreenLoad();
  DownloadScores(*m.g);
  m.ScreenLoad();  // this machine last uploaded counter 3
  std::string latest = ReadBytes(ServerArchive());
  ASSERT_EQ(latest, ReadBytes(m.Backup()));

  WriteBytes(ServerArchive(), stale);  // the server lost two uploads
  m.Local({Result(1500, "Wilma"), Result(1400, "Unmerged")});
  DownloadScores(*m.g);
  EXPECT_EQ(ReadBytes(ServerArchive()), latest) << "the backup is put back, nothing merged";
  EXPECT_EQ(Count(ReadArchive(ServerArchive())->g->ws, "Unmerged"), 0);
}

TEST_F(ScoreServerTest, VersionCheckAsksOnlyWhenTheAnnouncementIsNewer) {
  Machine m(server->Site());
  auto& plat = static_cast<HeadlessPlatform&>(m.g->plat);
  for (const char* v : {"1200", "1199", "999"}) {
    server->Announce(v);
    EXPECT_FALSE(CheckNewVersion(*m.g)) << v;
  }
  EXPECT_TRUE(plat.messageBoxes.empty());
  server->Announce("1210", "Vorlan1210.zip");
  plat.messageBoxes.clear();
  plat.SetMessageBoxAnswer(kIdYes);
  EXPECT_TRUE(CheckNewVersion(*m.g));
  ASSERT_EQ(plat.messageBoxes.size(), 2u);
  EXPECT_EQ(plat.messageBoxes[0],
            "Vorlan|Your version: 1200\r\nNew Vorlan 1210 is online.\r\n"
            "If you want to upload scores you must download the latest version of Vorlan");
  EXPECT_EQ(plat.messageBoxes[1], "Vorlan|Do you want to download it now?");
  ASSERT_EQ(plat.openedUrls.size(), 1u);
  EXPECT_EQ(plat.openedUrls[0], server->Site() + "/Games/Vorlan/Vorlan1210.zip");
  // A missing version file is no news.
  std::filesystem::remove(server->WebFolder() / "NewVer.txt");
  EXPECT_FALSE(CheckNewVersion(*m.g));
}

TEST_F(ScoreServerTest, ANewerVersionStopsTheSynchronisation) {
  Machine m(server->Site());
  auto& plat = static_cast<HeadlessPlatform&>(m.g->plat);
  plat.SetMessageBoxAnswer(kIdNo);
  server->Announce("1210", "../../evil");
  std::string before = ReadBytes(ServerArchive());
  m.Local({Result(1500, "Wilma")});
  DownloadScores(*m.g);
  EXPECT_EQ(plat.messageBoxes.size(), 2u);
  EXPECT_TRUE(plat.openedUrls.empty());
  EXPECT_EQ(ReadBytes(ServerArchive()), before);
  EXPECT_FALSE(std::filesystem::exists(m.Archive()));
}

TEST(ScoreServerRefusingReplace, ArchiveIsDeletedAndRenamedWhenTheServerWillNotReplaceIt) {
  ScoreServer server("1200", true);
  ASSERT_TRUE(server.Ready());
  Machine m(server.Site());
  m.Local({Result(700, "First")});
  DownloadScores(*m.g);
  m.ScreenLoad();
  m.Local({Result(800, "Second")});
  DownloadScores(*m.g);
  auto archive = server.Home() / "AtopwVo118.vor";
  EXPECT_EQ(ReadBytes(archive), ReadBytes(m.Backup()));
  EXPECT_FALSE(std::filesystem::exists(server.Home() / "AtopwVo118.tmp"));
  EXPECT_EQ(ReadArchive(archive)->g->ws.WsName[0], "Second");
}

TEST_F(ScoreServerTest, AMissingArchiveOnTheServerStartsFromTheDefaultTable) {
  Machine m(server->Site());
  std::filesystem::remove(ServerArchive());
  m.Local({Result(700, "First")});
  DownloadScores(*m.g);
  auto onServer = ReadArchive(ServerArchive());
  EXPECT_EQ(onServer->g->ws.WsName[0], "First");
  EXPECT_EQ(onServer->g->ws.WsUploads, 1);
}

TEST_F(ScoreServerTest, PicturesThatCouldNotBeSentStayListed) {
  Machine m(server->Site());
  m.Local({Result(700, "First")});
  WriteBytes(m.program / "upload" / "a.jpg", "A");
  WriteBytes(m.program / "upload" / "upload.txt", "a.jpg\r\nmissing.jpg\r\n");
  // The server refuses the picture: a folder of that name is in the way.
  std::filesystem::create_directory(server->Home() / "a.jpg");
  DownloadScores(*m.g);
  EXPECT_EQ(ReadBytes(m.program / "upload" / "a.jpg"), "A");
  EXPECT_EQ(ReadBytes(m.program / "upload" / "upload.txt"), "a.jpg\r\n");
  EXPECT_TRUE(std::filesystem::exists(server->Home() / "worldscoresVo118.htm"));
}

// The local files of a machine that must not change when a synchronisation fails.
std::string LocalState(const Machine& m) {
  return ReadBytes(m.Archive()) + "|" + ReadBytes(m.Backup()) + "|" +
         ReadBytes(m.program / "upload" / "upload.txt");
}

TEST(ScoreServerSilence, AWebSiteThatNeverAnswersEndsTheSyncAndKeepsTheTables) {
  SilentServer silent;
  ASSERT_GT(silent.port, 0);
  Machine m("http://127.0.0.1:" + std::to_string(silent.port));
  WriteBytes(m.Archive(), "world archive");
  WriteBytes(m.program / "upload" / "upload.txt", "a.jpg\r\n");
  std::string before = LocalState(m);
  m.Local({Result(700, "First")});
  auto start = std::chrono::steady_clock::now();
  DownloadScores(*m.g);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 15.0) << "limits of 2 s per call";
  EXPECT_TRUE(m.g->ws.SyncAborted);
  EXPECT_EQ(LocalState(m), before);
}

TEST_F(ScoreServerTest, AnFtpServerThatNeverAnswersEndsTheSyncAndKeepsTheTables) {
  SilentServer silent;
  std::string host = "127.0.0.1:" + std::to_string(silent.port);
  host.resize(29, ' ');
  WriteBytes(server->WebFolder() / "WSserver.txt", host + "vorlan                        meadow\r\n");
  Machine m(server->Site());
  WriteBytes(m.Archive(), "world archive");
  std::string before = LocalState(m);
  m.Local({Result(700, "First")});
  auto start = std::chrono::steady_clock::now();
  DownloadScores(*m.g);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 15.0);
  EXPECT_TRUE(m.g->ws.SyncAborted);
  EXPECT_EQ(LocalState(m), before);
}

TEST_F(ScoreServerTest, NetworkSessionRenamesOverRefusesBadNamesAndBoundsDownloads) {
  Machine m(server->Site());
  Network& net = m.g->plat.Net();
  ASSERT_EQ(net.FtpConnect("127.0.0.1:" + std::to_string(server->ftpPort), "vorlan", "meadow"),
            NetStatus::Ok);
  EXPECT_EQ(net.FtpCurrentDirectory(), "/");
  WriteBytes(m.data / "one.txt", "one");
  ASSERT_EQ(net.FtpPut(m.data / "one.txt", "x.tmp"), NetStatus::Ok);
  EXPECT_EQ(net.FtpRename("x.tmp", "AtopwVo118.vor"), NetStatus::Ok) << "renamed over the existing archive";
  EXPECT_EQ(ReadBytes(ServerArchive()), "one");
  EXPECT_EQ(net.FtpGet("nothing.here", m.data / "got", false), NetStatus::Refused);
  EXPECT_FALSE(std::filesystem::exists(m.data / "got"));
  EXPECT_EQ(net.FtpDelete("x.tmp\r\nDELE AtopwVo118.vor"), NetStatus::Refused);
  EXPECT_TRUE(std::filesystem::exists(ServerArchive()));
  auto names = net.FtpList();
  ASSERT_TRUE(names.has_value());
  EXPECT_NE(std::find(names->begin(), names->end(), "AtopwVo118.vor"), names->end());
  net.FtpClose();
  EXPECT_FALSE(net.FtpOpen());
  NetLimits patient = net.Limits();
  patient.connectSeconds = patient.stallSeconds = 6;  // a wrong password is answered after a pause
  net.SetLimits(patient);
  EXPECT_EQ(net.FtpConnect("127.0.0.1:" + std::to_string(server->ftpPort), "vorlan", "wrong"),
            NetStatus::Refused);
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
  EXPECT_EQ(net.DownloadUrl(server->Site() + "/Games/Vorlan/none.txt", m.data / "page.txt"),
            NetStatus::Refused);
  EXPECT_EQ(net.DownloadUrl("file:///etc/passwd", m.data / "page.txt"), NetStatus::Refused);
  EXPECT_EQ(ReadBytes(m.data / "page.txt"), "old");
}

}  // namespace
}  // namespace vorlan
