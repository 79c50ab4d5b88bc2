#include "support/score_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace vorlan::testing {

std::filesystem::path FreshFolder(const std::string& what) {
  static std::atomic<int> counter{0};
  auto p = std::filesystem::temp_directory_path() /
           ("vorlan-ws-" + what + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p;
}

ScoreServer::ScoreServer(const std::string& version, bool refuseReplace) {
  root = FreshFolder("server");
  int out[2];
  if (pipe(out) != 0) return;
  std::string script = std::string(VORLAN_SOURCE_DIR) + "/scripts/score-server";
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    std::vector<const char*> argv = {"python3", script.c_str(), "--ftp-port", "0",         "--http-port",
                                     "0",       "--root",       root.c_str(), "--version", version.c_str()};
    if (refuseReplace) argv.push_back("--refuse-replace");
    argv.push_back(nullptr);
    execv("/usr/bin/python3", const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(out[1]);
  if (pid_ < 0) {
    close(out[0]);
    return;
  }
  // The script prints "ready ftp=N http=M ..." once both servers listen.
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char c;
    if (read(out[0], &c, 1) != 1) break;
    if (c != '\n') {
      line += c;
      continue;
    }
    if (std::sscanf(line.c_str(), "ready ftp=%d http=%d", &ftpPort, &httpPort) == 2) break;
    line.clear();
  }
  close(out[0]);
}

ScoreServer::~ScoreServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i) usleep(20000);
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

void ScoreServer::Announce(const std::string& version, const std::string& download) const {
  std::string line = version;
  line.resize(5, ' ');
  line += version;
  line.resize(32, ' ');
  line += download;
  std::ofstream(WebFolder() / "NewVer.txt", std::ios::binary) << line << "\r\n";
}

SilentServer::SilentServer() {
  listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      listen(listenFd_, 16) != 0)
    return;
  socklen_t len = sizeof a;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  thread_ = std::thread([this] {
    while (!stop_) {
      pollfd p{listenFd_, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) {
        int c = accept(listenFd_, nullptr, nullptr);
        if (c >= 0) clients_.push_back(c);  // held open, never written to
      }
    }
  });
}

SilentServer::~SilentServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  for (int c : clients_) close(c);
  if (listenFd_ >= 0) close(listenFd_);
}

}  // namespace vorlan::testing
