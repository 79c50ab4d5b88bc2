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

TEST_F(ScoreServerTest, SyncUploadsArchivePageAndListedPicturesOnceAndKeepsTheBackup) {
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
  EXPECT_FALSE(std::filesystem::exists(server->Home() / "AtopwVo118.tmp"));
  EXPECT_EQ(ReadBytes(server->Home() / "worldscoresVo118.htm"), ReadBytes(m.Page()));
  for (const char* pic : {"15004020251230.jpg", "12001020251220.jpg", "3001020251220.jpg"}) {
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
  EXPECT_EQ(ReadBytes(ServerArchive()), ReadBytes(m.Backup()));
  auto onServer = ReadArchive(ServerArchive());
  EXPECT_EQ(Count(onServer->g->ws, "Wilma") + Count(onServer->g->ws, "Ida"), 2);
  EXPECT_EQ(onServer->g->ws.WsUploads, 2);
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
  EXPECT_EQ(ws.WsUploads, 3);
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
// synchronisation within the call limits and leaves the local files alone.
TEST_F(ScoreServerTest, ServersThatNeverAnswerEndTheSyncAndKeepTheTables) {
  SilentServer silent;
  ASSERT_GT(silent.port, 0);
  std::string host = "127.0.0.1:" + std::to_string(silent.port);
  for (bool silentFtp : {false, true}) {
    if (silentFtp) {
      std::string field = host;
      field.resize(29, ' ');
      WriteBytes(server->WebFolder() / "WSserver.txt", field + "vorlan                        meadow\r\n");
    }
    Machine m(silentFtp ? server->Site() : "http://" + host);
    WriteBytes(m.Archive(), "world archive");
    WriteBytes(m.program / "upload" / "upload.txt", "a.jpg\r\n");
    std::string before = LocalState(m);
    m.Local({Result(700, "First")});
    auto start = std::chrono::steady_clock::now();
    DownloadScores(*m.g);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 15.0);
    EXPECT_TRUE(m.g->ws.SyncAborted) << silentFtp;
    EXPECT_EQ(LocalState(m), before) << silentFtp;
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

}  // namespace
}  // namespace vorlan
