// Real score servers for tests: the project's FTP + HTTP score server started on free ports of
// 127.0.0.1 in a temporary folder, and a server that accepts connections and never answers.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace vorlan::testing {

class ScoreServer {
 public:
  // Starts scripts/score-server; Ready() tells whether it came up.
  ScoreServer();
  ~ScoreServer();
  ScoreServer(const ScoreServer&) = delete;
  ScoreServer& operator=(const ScoreServer&) = delete;

  bool Ready() const { return ftpPort > 0 && httpPort > 0; }
  std::string Site() const { return "http://127.0.0.1:" + std::to_string(httpPort); }
  // The FTP home: the shared archive, the template, the page and the proof pictures.
  std::filesystem::path Home() const { return root / "Games" / "Vorlan" / "scores"; }
  std::filesystem::path WebFolder() const { return root / "Games" / "Vorlan"; }
  void Announce(const std::string& version, const std::string& download = "Vorlan.zip") const;

  int ftpPort = 0, httpPort = 0;
  std::filesystem::path root;

 private:
  pid_t pid_ = -1;
};

// vsftpd on a free port of 127.0.0.1 with an anonymous, writable folder of its own and a config
// file written here. Ready() is false when vsftpd is missing or would not start.
class Vsftpd {
 public:
  Vsftpd();
  ~Vsftpd();
  Vsftpd(const Vsftpd&) = delete;
  Vsftpd& operator=(const Vsftpd&) = delete;
  bool Ready() const { return port > 0; }
  int port = 0;
  std::filesystem::path root, home;

 private:
  pid_t pid_ = -1;
};

// Listens on 127.0.0.1, accepts every connection and keeps it open without a word.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int port = 0;

 private:
  int listenFd_ = -1;
  std::vector<int> clients_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

// The line of "WSserver.txt" that sends the game to an FTP server on 127.0.0.1.
std::string FtpAddressLine(int port, const std::string& login);

// A fresh empty folder under the system's temporary folder (removed by the caller).
std::filesystem::path FreshFolder(const std::string& what);
std::string ReadBytes(const std::filesystem::path& p);
void WriteBytes(const std::filesystem::path& p, const std::string& bytes);  // creates the folders

}  // namespace vorlan::testing
