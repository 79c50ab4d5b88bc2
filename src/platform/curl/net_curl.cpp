// The network over libcurl: HTTP(S) downloads and one FTP session (passive, TLS when offered).
// Every call runs with the connect, stall and total limits and never waits for ever.
#ifdef _WIN32
// winsock2.h must come first
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
// clang-format on
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>
#endif
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/files.h"
#include "platform/network.h"
#include "platform/os_files.h"

namespace vorlan {

namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A download target: the file replaced only when the whole answer arrived.
struct PartFile {
  explicit PartFile(const std::filesystem::path& target, uint64_t maxBytes) : file(target), limit(maxBytes) {}
  AtomicFile file;
  uint64_t written = 0, limit = 0;
  bool overflow = false;
};

size_t WriteToPart(char* data, size_t size, size_t count, void* user) {
  auto* p = static_cast<PartFile*>(user);
  size_t n = size * count;
  if (p->written + n > p->limit) {
    p->overflow = true;
    return 0;  // aborts the transfer
  }
  if (!p->file.Write(std::string_view(data, n))) return 0;
  p->written += n;
  return n;
}

struct MemorySink {
  std::string data;
  uint64_t limit = 0;
  bool overflow = false;
};

size_t WriteToMemory(char* data, size_t size, size_t count, void* user) {
  auto* m = static_cast<MemorySink*>(user);
  size_t n = size * count;
  if (m->data.size() + n > m->limit) {
    m->overflow = true;
    return 0;
  }
  m->data.append(data, n);
  return n;
}

// The made-up headers libcurl hands over for a SIZE or MDTM: not wanted.
size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

size_t ReadFromFile(char* buffer, size_t size, size_t count, void* user) {
  return std::fread(buffer, 1, size * count, static_cast<FILE*>(user));
}

// Refused: the server answered and said no. Failed: no usable answer at all.
NetStatus StatusOf(CURLcode rc) {
  switch (rc) {
    case CURLE_OK:
      return NetStatus::Ok;
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
    case CURLE_LOGIN_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_HTTP_RETURNED_ERROR:
      return NetStatus::Refused;
    default:
      return NetStatus::Failed;
  }
}

// Host names from the address file: letters, digits, dots, dashes, underscores, an optional
// ":port", or a bracketed IPv6 address. Anything else could smuggle in a path or credentials.
bool ParseHost(std::string_view text, std::string& host, long& port) {
  port = 21;
  std::string_view name = text;
  std::string_view portText;
  if (!text.empty() && text.front() == '[') {
    size_t close = text.find(']');
    if (close == std::string_view::npos) return false;
    name = text.substr(0, close + 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return false;
      portText = rest.substr(1);
    }
    for (char c : name.substr(1, name.size() - 2))
      if (!(std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.')) return false;
  } else {
    size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
      name = text.substr(0, colon);
      portText = text.substr(colon + 1);
      if (portText.empty()) return false;
    }
    for (char c : name)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_')) return false;
  }
  if (name.empty()) return false;
  if (!portText.empty() || text.find(':') != std::string_view::npos) {
    if (portText.empty() || portText.size() > 5) return false;
    long p = 0;
    for (char c : portText) {
      if (c < '0' || c > '9') return false;
      p = p * 10 + (c - '0');
    }
    if (p < 1 || p > 65535) return false;
    port = p;
  }
  host = std::string(name);
  return true;
}

// Calls f(loopback, address) for every interface that is up and running with an IPv4 or IPv6
// address.
template <typename F>
void ForEachInterface(F f) {
#ifdef _WIN32
  ULONG size = 16384;
  std::vector<unsigned char> buffer;
  ULONG rc = ERROR_BUFFER_OVERFLOW;
  for (int tries = 0; rc == ERROR_BUFFER_OVERFLOW && tries < 3; ++tries) {
    buffer.resize(size);
    rc = GetAdaptersAddresses(AF_UNSPEC,
                              GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
                              nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (rc != NO_ERROR) return;
  for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next) {
    if (a->OperStatus != IfOperStatusUp) continue;
    for (auto* u = a->FirstUnicastAddress; u; u = u->Next) {
      char text[INET6_ADDRSTRLEN] = {};
      const sockaddr* sa = u->Address.lpSockaddr;
      if (sa->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
      else if (sa->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, text, sizeof text);
      else
        continue;
      f(a->IfType == IF_TYPE_SOFTWARE_LOOPBACK, std::string(text));
    }
  }
#else
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || !(a->ifa_flags & IFF_UP) || !(a->ifa_flags & IFF_RUNNING)) continue;
    char text[INET6_ADDRSTRLEN] = {};
    if (a->ifa_addr->sa_family == AF_INET) {
      inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr, text, sizeof text);
    } else if (a->ifa_addr->sa_family == AF_INET6) {
      inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(a->ifa_addr)->sin6_addr, text, sizeof text);
    } else {
      continue;
    }
    f((a->ifa_flags & IFF_LOOPBACK) != 0, std::string(text));
  }
  freeifaddrs(list);
#endif
}

class CurlNetwork final : public Network {
 public:
  CurlNetwork() { GlobalInit(); }
  ~CurlNetwork() override { FtpClose(); }

  void SetLimits(const NetLimits& limits) override { limits_ = limits; }
  const NetLimits& Limits() const override { return limits_; }
  void SetProgress(NetProgress progress) override { progress_ = std::move(progress); }

  NetStatus DownloadUrl(std::string_view url, const std::filesystem::path& file) override {
    std::string u(url);
    if (!(u.rfind("http://", 0) == 0 || u.rfind("https://", 0) == 0) || !SafeRemoteName(u))
      return NetStatus::Refused;
    CURL* h = curl_easy_init();
    if (!h) return NetStatus::Failed;
    PartFile out(file, limits_.maxDownloadBytes);
    if (!out.file.Stream()) {
      curl_easy_cleanup(h);
      return NetStatus::Failed;
    }
    CommonOptions(h);
    curl_easy_setopt(h, CURLOPT_URL, u.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Vorlan");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteToPart);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &out);
    CURLcode rc = Perform(h);
    curl_easy_cleanup(h);
    if (rc != CURLE_OK || out.overflow) return out.overflow ? NetStatus::Failed : StatusOf(rc);
    return out.file.Commit() ? NetStatus::Ok : NetStatus::Failed;
  }

  NetStatus FtpConnect(std::string_view host, std::string_view user, std::string_view password) override {
    FtpClose();
    std::string name;
    long port = 21;
    if (!ParseHost(host, name, port) || !SafeRemoteName(user) ||
        (!password.empty() && !SafeRemoteName(password)))
      return NetStatus::Refused;
    ftp_ = curl_easy_init();
    if (!ftp_) return NetStatus::Failed;
    base_ = "ftp://" + name + ":" + std::to_string(port);
    user_ = std::string(user);
    password_ = std::string(password);
    FtpOptions("/");
    curl_easy_setopt(ftp_, CURLOPT_NOBODY, 1L);
    CURLcode rc = Perform(ftp_);
    if (rc != CURLE_OK) {
      FtpClose();
      return StatusOf(rc);
    }
    char* entry = nullptr;
    curl_easy_getinfo(ftp_, CURLINFO_FTP_ENTRY_PATH, &entry);
    cwd_ = (entry && *entry == '/') ? std::string(entry) : std::string("/");
    return NetStatus::Ok;
  }

  bool FtpOpen() const override { return ftp_ != nullptr; }

  NetStatus Wait(int ms) override {
    using namespace std::chrono;
    auto end = steady_clock::now() + milliseconds(ms);
    for (;;) {
      if (progress_ && !progress_()) return NetStatus::Failed;
      auto left = end - steady_clock::now();
      if (left <= steady_clock::duration::zero()) return NetStatus::Ok;
      std::this_thread::sleep_for(std::min<steady_clock::duration>(left, milliseconds(20)));
    }
  }

  std::string FtpCurrentDirectory() override { return ftp_ ? cwd_ : std::string(); }

  NetStatus FtpSetCurrentDirectory(std::string_view dir) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(dir);
    if (abs.empty()) return NetStatus::Refused;
    NetStatus s = Command({"CWD " + abs});
    if (s == NetStatus::Ok) cwd_ = abs;
    return s;
  }

  NetStatus FtpGet(std::string_view remote, const std::filesystem::path& local, bool ascii) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(remote);
    if (abs.empty() || abs.back() == '/') return NetStatus::Refused;
    PartFile out(local, limits_.maxDownloadBytes);
    if (!out.file.Stream()) return NetStatus::Failed;
    FtpOptions(abs);
    curl_easy_setopt(ftp_, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
    curl_easy_setopt(ftp_, CURLOPT_WRITEFUNCTION, WriteToPart);
    curl_easy_setopt(ftp_, CURLOPT_WRITEDATA, &out);
    CURLcode rc = Perform(ftp_);
    if (rc != CURLE_OK || out.overflow) return out.overflow ? NetStatus::Failed : StatusOf(rc);
    return out.file.Commit() ? NetStatus::Ok : NetStatus::Failed;
  }

  NetStatus FtpPut(const std::filesystem::path& local, std::string_view remote) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(remote);
    if (abs.empty() || abs.back() == '/') return NetStatus::Refused;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(local, ec)) return NetStatus::Failed;
    FILE* in = os::OpenStream(local, "rb");
    if (!in) return NetStatus::Failed;
    auto size = std::filesystem::file_size(local, ec);
    FtpOptions(abs);
    curl_easy_setopt(ftp_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(ftp_, CURLOPT_READFUNCTION, ReadFromFile);
    curl_easy_setopt(ftp_, CURLOPT_READDATA, in);
    if (!ec) curl_easy_setopt(ftp_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    CURLcode rc = Perform(ftp_);
    std::fclose(in);
    return StatusOf(rc);
  }

  NetStatus FtpExists(std::string_view remote) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(remote);
    if (abs.empty() || abs.back() == '/') return NetStatus::Refused;
    FtpOptions(abs);
    curl_easy_setopt(ftp_, CURLOPT_NOBODY, 1L);  // SIZE only
    curl_easy_setopt(ftp_, CURLOPT_WRITEFUNCTION, DiscardBody);
    return StatusOf(Perform(ftp_));
  }

  NetStatus FtpDelete(std::string_view remote) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(remote);
    if (abs.empty()) return NetStatus::Refused;
    return Command({"DELE " + abs});
  }

  NetStatus FtpRename(std::string_view from, std::string_view to) override {
    if (!ftp_) return NetStatus::Failed;
    std::string a = Absolute(from), b = Absolute(to);
    if (a.empty() || b.empty()) return NetStatus::Refused;
    return Command({"RNFR " + a, "RNTO " + b});
  }

  NetStatus FtpModified(std::string_view remote, int64_t& seconds) override {
    if (!ftp_) return NetStatus::Failed;
    std::string abs = Absolute(remote);
    if (abs.empty() || abs.back() == '/') return NetStatus::Refused;
    FtpOptions(abs);
    curl_easy_setopt(ftp_, CURLOPT_NOBODY, 1L);  // MDTM and SIZE only
    curl_easy_setopt(ftp_, CURLOPT_FILETIME, 1L);
    curl_easy_setopt(ftp_, CURLOPT_WRITEFUNCTION, DiscardBody);
    NetStatus s = StatusOf(Perform(ftp_));
    curl_off_t t = -1;
    // The date counts even when the SIZE after it was refused: vsftpd keeps an anonymous upload
    // that was cut short unreadable.
    if (curl_easy_getinfo(ftp_, CURLINFO_FILETIME_T, &t) == CURLE_OK && t >= 0)
      s = NetStatus::Ok;
    else if (s == NetStatus::Ok)
      s = NetStatus::Refused;  // a server that keeps its dates to itself
    seconds = t;
    return s;
  }

  NetStatus FtpList(std::vector<std::string>& names) override {
    names.clear();
    if (!ftp_) return NetStatus::Failed;
    MemorySink sink;
    sink.limit = limits_.maxDownloadBytes;
    FtpOptions(cwd_.back() == '/' ? cwd_ : cwd_ + "/");
    curl_easy_setopt(ftp_, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(ftp_, CURLOPT_WRITEFUNCTION, WriteToMemory);
    curl_easy_setopt(ftp_, CURLOPT_WRITEDATA, &sink);
    CURLcode rc = Perform(ftp_);
    if (rc != CURLE_OK || sink.overflow) return sink.overflow ? NetStatus::Failed : StatusOf(rc);
    size_t start = 0;
    while (start < sink.data.size()) {
      size_t end = sink.data.find('\n', start);
      if (end == std::string::npos) end = sink.data.size();
      std::string line = sink.data.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      // Some servers (vsftpd) answer with the folder in front of each name.
      line.erase(0, line.rfind('/') + 1);
      if (!line.empty()) names.push_back(line);
      start = end + 1;
    }
    return NetStatus::Ok;
  }

  bool InterfaceUp() override {
    bool up = false;
    ForEachInterface([&](bool loopback, const std::string&) {
      if (!loopback) up = true;
    });
    return up;
  }

  bool IsThisMachine(std::string_view host) override {
    if (IsLoopbackName(host)) return true;
    std::string bare(host);
    if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']') bare = bare.substr(1, bare.size() - 2);
    bool mine = false;
    ForEachInterface([&](bool, const std::string& address) {
      if (address == bare) mine = true;
    });
    if (!mine) {
      char name[256] = {};
      if (gethostname(name, sizeof name - 1) == 0 && bare == name) mine = true;
    }
    return mine;
  }

  void FtpClose() override {
    if (ftp_) curl_easy_cleanup(ftp_);
    if (multi_) curl_multi_cleanup(multi_);  // says QUIT on the open connection
    ftp_ = nullptr;
    multi_ = nullptr;
    cwd_.clear();
  }

 private:
  void CommonOptions(CURL* h) {
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits_.connectSeconds));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(limits_.totalSeconds));
    // A stall: less than one byte a second for the stall time.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.stallSeconds));
  }

  // Runs one call on the session's multi handle, which keeps the open connections between calls.
  // libcurl's own blocking loop can sleep a whole second before it opens an FTP data connection;
  // this loop looks again every few milliseconds and asks the progress check each time.
  CURLcode Perform(CURL* h) {
    if (!multi_) multi_ = curl_multi_init();
    if (!multi_ || curl_multi_add_handle(multi_, h) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    for (bool done = false; !done;) {
      int running = 0;
      if (curl_multi_perform(multi_, &running) != CURLM_OK) {
        result = CURLE_FAILED_INIT;
        break;
      }
      int left = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == h) {
          result = msg->data.result;
          done = true;
        }
      }
      if (done || running == 0) break;
      if (progress_ && !progress_()) {
        result = CURLE_ABORTED_BY_CALLBACK;
        break;
      }
      curl_multi_poll(multi_, nullptr, 0, 5, nullptr);
    }
    curl_multi_remove_handle(multi_, h);
    return result;
  }

  // Resets the session handle for the next command on the absolute server path. Resetting
  // keeps the open connection, so the whole exchange is one login.
  void FtpOptions(const std::string& absPath) {
    curl_easy_reset(ftp_);
    CommonOptions(ftp_);
    curl_easy_setopt(ftp_, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(ftp_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(ftp_, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(limits_.stallSeconds));
    curl_easy_setopt(ftp_, CURLOPT_FTP_SKIP_PASV_IP, 1L);
    curl_easy_setopt(ftp_, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(ftp_, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(ftp_, CURLOPT_PASSWORD, password_.c_str());
    std::string url = base_ + "/" + Escape(absPath);
    curl_easy_setopt(ftp_, CURLOPT_URL, url.c_str());
  }

  // The URL form of an absolute server path: the leading slash as %2F, each part escaped.
  std::string Escape(const std::string& absPath) {
    if (absPath == "/") return "";
    std::string out = "%2F";
    size_t start = 1;
    while (start <= absPath.size()) {
      size_t end = absPath.find('/', start);
      if (end == std::string::npos) end = absPath.size();
      std::string part = absPath.substr(start, end - start);
      char* e = curl_easy_escape(ftp_, part.c_str(), static_cast<int>(part.size()));
      if (e) {
        out += e;
        curl_free(e);
      }
      if (end < absPath.size()) out += "/";
      start = end + 1;
    }
    return out;
  }

  // A server name made absolute against the current directory; empty when unusable.
  std::string Absolute(std::string_view name) const {
    if (!SafeRemoteName(name)) return {};
    if (name.front() == '/') return std::string(name);
    std::string dir = cwd_.empty() ? "/" : cwd_;
    if (dir.back() != '/') dir += '/';
    return dir + std::string(name);
  }

  // Runs raw commands on the session without a transfer; the last one's reply decides. Each is
  // marked to go on after a refusal: libcurl drops the connection when a plain quoted command is
  // refused, and a refused rename is an everyday answer here.
  NetStatus Command(std::initializer_list<std::string> commands) {
    curl_slist* list = nullptr;
    for (const auto& c : commands) list = curl_slist_append(list, ("*" + c).c_str());
    FtpOptions("/");
    curl_easy_setopt(ftp_, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(ftp_, CURLOPT_QUOTE, list);
    CURLcode rc = Perform(ftp_);
    curl_easy_setopt(ftp_, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(list);
    long code = 0;
    if (rc != CURLE_OK) return StatusOf(rc);
    if (curl_easy_getinfo(ftp_, CURLINFO_RESPONSE_CODE, &code) != CURLE_OK || code <= 0)
      return NetStatus::Failed;
    return code < 400 ? NetStatus::Ok : NetStatus::Refused;
  }

  NetLimits limits_;
  NetProgress progress_;
  CURL* ftp_ = nullptr;
  CURLM* multi_ = nullptr;
  std::string base_, user_, password_, cwd_;
};

}  // namespace

std::unique_ptr<Network> MakeCurlNetwork() { return std::make_unique<CurlNetwork>(); }

}  // namespace vorlan
