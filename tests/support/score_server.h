// Real score servers for tests: the project's FTP + HTTP score server started on free ports of
// 127.0.0.1 in a temporary folder, vsftpd, a server that takes connections and never answers, and
// a faulty network in front of an FTP server.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vorlan::testing {

// A server process with a temporary folder of its own; stopped and removed with the object.
class ServerProcess {
 public:
  ServerProcess() = default;
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  std::filesystem::path root;

 protected:
  // Starts a Python script with its arguments (stdout to a pipe) and returns the first line it
  // prints that starts with "ready " ("" when it never does).
  std::string StartScript(const std::string& script, std::vector<std::string> args);
  pid_t pid_ = -1;
};

class ScoreServer : public ServerProcess {
 public:
  // Starts scripts/score-server; Ready() tells whether it came up.
  ScoreServer();

  bool Ready() const { return ftpPort > 0 && httpPort > 0; }
  std::string Site() const { return "http://127.0.0.1:" + std::to_string(httpPort); }
  // The FTP home: the shared archive, the template, the page and the proof pictures.
  std::filesystem::path Home() const { return root / "Games" / "Vorlan" / "scores"; }
  std::filesystem::path WebFolder() const { return root / "Games" / "Vorlan"; }
  void Announce(const std::string& version, const std::string& download = "Vorlan.zip") const;

  int ftpPort = 0, httpPort = 0;
};

// vsftpd on a free port of 127.0.0.1 with an anonymous, writable folder of its own and a config
// file written here. Ready() is false when vsftpd is missing or would not start.
class Vsftpd : public ServerProcess {
 public:
  Vsftpd();
  bool Ready() const { return port > 0; }
  int port = 0;
  std::filesystem::path home;
};

// tests/support/ftp_relay.py in front of an FTP server's control port: the game talks to port.
// A rule is "ACTION:VERB:NAME:WHICH[:SECONDS]" (see the script): "swallow:RNTO:AtopwVo118.vor:1"
// loses the answer to the first rename onto the archive; cutShare cuts that share of the
// connections at a random command.
class FaultRelay : public ServerProcess {
 public:
  FaultRelay(int ftpPort, const std::vector<std::string>& rules, double cutShare = 0, int seed = 1);
  bool Ready() const { return port > 0; }
  // Lines of the relay's log that start with the word: "open" (control connections), "swallow",
  // "hold", "cut".
  int Count(const std::string& word) const;
  int Faults() const { return Count("swallow") + Count("hold") + Count("cut"); }
  int port = 0;
};

// Listens on 127.0.0.1 and never accepts: the system completes each connection, and then nobody
// says a word.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int port = 0;

 private:
  int fd_ = -1;
};

// The line of "WSserver.txt" that sends the game to an FTP server on 127.0.0.1.
std::string FtpAddressLine(int port, const std::string& login);

std::string ReadBytes(const std::filesystem::path& p);
void WriteBytes(const std::filesystem::path& p, const std::string& bytes);  // creates the folders

}  // namespace vorlan::testing
