// Network services: HTTP(S) download to a file and one FTP(S) session at a time. Every transfer
// has a connect timeout and a stall timeout. The session keeps one control connection; a call
// after one that broke off opens a new one and logs in again. Implemented over libcurl (curl/net_curl).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// How a transfer ended.
enum class NetStatus {
  Ok,       // done
  Refused,  // the server answered but refused (no such file, no permission, bad login, HTTP 4xx/5xx)
  Failed,   // no answer: connection failed, timed out, stalled or broke off
};

// Limits of every transfer.
struct NetLimits {
  int connectSeconds = 10;                      // to reach the server (and read its greeting)
  int stallSeconds = 15;                        // longest wait without progress or answer
  int totalSeconds = 120;                       // longest single transfer
  uint64_t maxDownloadBytes = 4 * 1024 * 1024;  // larger answers are cut off and count as Failed
  int exchangeSeconds = 30;                     // longest whole synchronisation (kept by the caller)
};

// Asked again and again while a call waits (at least every 100 ms); false ends the call at once,
// as Failed.
using NetProgress = std::function<bool()>;

class Network {
 public:
  virtual ~Network() = default;

  // Sets the limits used by the following calls.
  virtual void SetLimits(const NetLimits& limits) = 0;
  // The limits in force.
  virtual const NetLimits& Limits() const = 0;
  // Sets the progress check of the following calls (empty: none).
  virtual void SetProgress(NetProgress progress) = 0;
  // Waits ms milliseconds (a back-off between attempts) while asking the progress check; Failed
  // when it said stop.
  virtual NetStatus Wait(int ms) = 0;

  // Downloads an http:// or https:// address into file. The file is replaced only when the whole
  // answer arrived with a success status; otherwise it is left as it was.
  virtual NetStatus DownloadUrl(std::string_view url, const std::filesystem::path& file) = 0;

  // Opens the FTP session (passive mode; TLS when the server offers it). host is "name" (port
  // 21) or "name:port". Closes a session that was open. Ok once logged in.
  virtual NetStatus FtpConnect(std::string_view host, std::string_view user, std::string_view password) = 0;
  // Whether a session is open.
  virtual bool FtpOpen() const = 0;
  // The session's current directory ("/" style), empty without a session.
  virtual std::string FtpCurrentDirectory() = 0;
  // Makes dir (absolute, or relative to the current directory) the current directory.
  virtual NetStatus FtpSetCurrentDirectory(std::string_view dir) = 0;
  // Fetches a server file (name relative to the current directory or absolute) into a local
  // file, replaced only when the transfer completed. ascii asks for a text-mode transfer.
  virtual NetStatus FtpGet(std::string_view remote, const std::filesystem::path& local, bool ascii) = 0;
  // Stores a local file on the server under the given name (binary).
  virtual NetStatus FtpPut(const std::filesystem::path& local, std::string_view remote) = 0;
  // Whether a server file exists (Ok) or not (Refused), by its size; unlike a download, this
  // does not depend on being allowed to read it.
  virtual NetStatus FtpExists(std::string_view remote) = 0;
  // When a server file was last written, in seconds since 1970 by the server's clock.
  virtual NetStatus FtpModified(std::string_view remote, int64_t& seconds) = 0;
  // Deletes a server file.
  virtual NetStatus FtpDelete(std::string_view remote) = 0;
  // Renames a server file; whether an existing target is replaced is up to the server. A
  // refusal leaves the session open.
  virtual NetStatus FtpRename(std::string_view from, std::string_view to) = 0;
  // Names in the current directory.
  virtual NetStatus FtpList(std::vector<std::string>& names) = 0;
  // Ends the session (harmless without one).
  virtual void FtpClose() = 0;

  // Whether a network interface other than loopback is up.
  virtual bool InterfaceUp() = 0;
  // Whether a host name or address (without port) is this machine.
  virtual bool IsThisMachine(std::string_view host) = 0;
};

// The libcurl implementation.
std::unique_ptr<Network> MakeCurlNetwork();

// Whether a host name or address is the loopback one (a name every machine calls itself).
inline bool IsLoopbackName(std::string_view host) {
  return host == "localhost" || host.rfind("127.", 0) == 0 || host == "::1" || host == "[::1]";
}

// A server-side file name is usable when it holds no control characters (which would let it
// inject FTP commands) and is not empty.
inline bool SafeRemoteName(std::string_view name) {
  if (name.empty()) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace vorlan
