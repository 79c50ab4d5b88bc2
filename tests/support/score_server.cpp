#include "support/score_server.h"

#include <fstream>

namespace vorlan::testing {

std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace vorlan::testing

// The servers are processes forked from the test: not on Windows, where scripts/windows-test
// synchronises the real game with the score server instead.
#ifndef _WIN32
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace vorlan::testing {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  return a;
}

// Binds a socket to a free port of 127.0.0.1 and returns the port (0 when that failed).
int BindFreePort(int fd) {
  sockaddr_in a = Loopback(0);
  socklen_t len = sizeof a;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
    return 0;
  return ntohs(a.sin_port);
}

// A port that was free a moment ago.
int FreePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int port = BindFreePort(fd);
  if (fd >= 0) close(fd);
  return port;
}

bool Accepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = Loopback(port);
  bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  if (fd >= 0) close(fd);
  return ok;
}

// A fresh empty folder under the system's temporary folder.
std::filesystem::path FreshFolder(const std::string& what) {
  std::string pattern = (std::filesystem::temp_directory_path() / ("vorlan-" + what + "-XXXXXX")).string();
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace

std::string ServerProcess::StartScript(const std::string& script, std::vector<std::string> args) {
  int out[2];
  if (pipe(out) != 0) return {};
  args.insert(args.begin(), {"python3", std::string(VORLAN_SOURCE_DIR) + "/" + script});
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv("/usr/bin/python3", argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string line;
  pollfd p{out[0], POLLIN, 0};
  char c;
  while (pid_ > 0 && poll(&p, 1, 20000) > 0 && read(out[0], &c, 1) == 1) {
    if (c != '\n')
      line += c;
    else if (line.starts_with("ready "))
      break;
    else
      line.clear();
  }
  close(out[0]);
  return line.starts_with("ready ") ? line : std::string();
}

ScoreServer::ScoreServer() {
  root = FreshFolder("server");
  // The script prints "ready ftp=N http=M ..." once both servers listen.
  std::string ready = StartScript("scripts/score-server", {"--ftp-port", "0", "--http-port", "0", "--root",
                                                           root.string(), "--version", "1200"});
  if (std::sscanf(ready.c_str(), "ready ftp=%d http=%d", &ftpPort, &httpPort) != 2) ftpPort = httpPort = 0;
}

FaultRelay::FaultRelay(int ftpPort, const std::vector<std::string>& rules, double cutShare, int seed) {
  root = FreshFolder("relay");
  std::vector<std::string> args = {"--to",        std::to_string(ftpPort),  "--log",  (root / "log").string(),
                                   "--cut-share", std::to_string(cutShare), "--seed", std::to_string(seed)};
  for (const auto& r : rules) args.insert(args.end(), {"--rule", r});
  std::sscanf(StartScript("tests/support/ftp_relay.py", args).c_str(), "ready port=%d", &port);
}

int FaultRelay::Count(const std::string& word) const {
  std::ifstream in(root / "log");
  int n = 0;
  for (std::string line; std::getline(in, line);) n += line.starts_with(word + " ");
  return n;
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ec;
  if (!root.empty()) std::filesystem::remove_all(root, ec);
}

void ScoreServer::Announce(const std::string& version, const std::string& download) const {
  std::string line = version;
  line.resize(5, ' ');
  line += version;
  line.resize(32, ' ');
  WriteBytes(WebFolder() / "NewVer.txt", line + download + "\r\n");
}

// vsftpd runs as the user who starts it (it cannot chroot then, so absolute names reach the whole
// machine: it only listens on 127.0.0.1 and, started by root, drops to the "ftp" user first).
Vsftpd::Vsftpd() {
  const char* binary = "/usr/sbin/vsftpd";
  if (access(binary, X_OK) != 0) return;
  root = FreshFolder("vsftpd");
  home = root / "home";
  std::filesystem::create_directories(home);
  int wanted = FreePort();
  WriteBytes(root / "vsftpd.conf",
             "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(wanted) +
                 "\nbackground=NO\nrun_as_launching_user=YES\nseccomp_sandbox=NO\n"
                 "anonymous_enable=YES\nno_anon_password=YES\nanon_root=" +
                 home.string() +
                 "\nwrite_enable=YES\nanon_upload_enable=YES\nanon_other_write_enable=YES\n"
                 "anon_umask=022\nlocal_enable=NO\nxferlog_enable=NO\nvsftpd_log_file=" +
                 (root / "log").string() + "\n");
  passwd* ftp = getuid() == 0 ? getpwnam("ftp") : nullptr;
  if (ftp)
    for (const auto& p : {root, home, root / "vsftpd.conf"})
      if (chown(p.c_str(), ftp->pw_uid, ftp->pw_gid) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    if (ftp && (setgid(ftp->pw_gid) != 0 || setuid(ftp->pw_uid) != 0)) _exit(126);
    std::string conf = (root / "vsftpd.conf").string();
    execl(binary, binary, conf.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 100 && pid_ > 0 && port == 0; ++i) {
    if (Accepts(wanted))
      port = wanted;
    else if (waitpid(pid_, nullptr, WNOHANG) == pid_)
      pid_ = -1;
    else
      usleep(30000);
  }
}

std::string FtpAddressLine(int port, const std::string& login) {
  std::string line = "127.0.0.1:" + std::to_string(port);
  line.resize(29, ' ');
  return line + login + "\r\n";
}

SilentServer::SilentServer() {
  fd_ = socket(AF_INET, SOCK_STREAM, 0);
  if (int p = BindFreePort(fd_); p > 0 && listen(fd_, 64) == 0) port = p;
}

SilentServer::~SilentServer() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace vorlan::testing
#endif
