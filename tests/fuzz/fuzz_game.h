// The shared rig of the fuzz targets: one headless game per process with the generated content
// copied into its program folder, and a network that answers from a script instead of a server.
// Each run writes the input into the file under test, resets what the reader fills and calls it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "game.h"
#include "persistence/high_scores.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/network.h"
#include "support/offline_network.h"

namespace vorlan::fuzz {

// Stops the run with a message libFuzzer keeps beside the crashing input.
#define FUZZ_CHECK(cond)                                                              \
  do {                                                                                \
    if (!(cond)) {                                                                    \
      std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// Stops the run when a record did not read back as it was written, showing both lines.
inline void CheckReadBack(int slot, const ScoreRecord& now, const ScoreRecord& was) {
  if (RecordLine(now) == RecordLine(was)) return;
  std::fprintf(stderr, "slot %d read back as\n[%s]\ninstead of\n[%s]\n", slot, RecordLine(now).c_str(),
               RecordLine(was).c_str());
  std::abort();
}

// Downloads whose address ends in `serves` deliver `body`; other downloads are refused. The FTP
// side holds a session only when `sessionOpen` is set and then accepts every transfer; a file it
// is asked for is a copy of `served`, and without one the connection breaks.
class ScriptedNetwork : public testing::OfflineNetwork {
 public:
  std::string serves, body;
  std::filesystem::path served;
  bool sessionOpen = false;
  int puts = 0;

  NetStatus DownloadUrl(std::string_view url, const std::filesystem::path& file) override {
    if (serves.empty() || !url.ends_with(serves)) return NetStatus::Refused;
    return WriteWholeFile(file, body) ? NetStatus::Ok : NetStatus::Failed;
  }
  NetStatus FtpConnect(std::string_view host, std::string_view user, std::string_view password) override {
    lastHost = host;
    lastUser = user;
    lastPassword = password;
    return NetStatus::Refused;
  }
  bool FtpOpen() const override { return sessionOpen; }
  std::string FtpCurrentDirectory() override { return sessionOpen ? "/" : ""; }
  NetStatus FtpPut(const std::filesystem::path&, std::string_view remote) override {
    ++puts;
    return Transfer({remote});
  }
  NetStatus FtpDelete(std::string_view remote) override { return Transfer({remote}); }
  NetStatus FtpRename(std::string_view from, std::string_view to) override { return Transfer({from, to}); }
  NetStatus FtpList(std::vector<std::string>& names) override {
    names.clear();
    return sessionOpen ? NetStatus::Ok : NetStatus::Failed;
  }
  NetStatus FtpGet(std::string_view remote, const std::filesystem::path& local, bool) override {
    if (Transfer({remote}) != NetStatus::Ok || served.empty()) return NetStatus::Failed;
    return CopyFileOver(served, local) ? NetStatus::Ok : NetStatus::Failed;
  }
  void FtpClose() override { sessionOpen = false; }
  bool InterfaceUp() override { return true; }

  std::string lastHost, lastUser, lastPassword;

 private:
  NetStatus Transfer(std::initializer_list<std::string_view> names) {
    // A name the server would take as a second command must never get this far.
    for (std::string_view name : names) FUZZ_CHECK(SafeRemoteName(name));
    return sessionOpen ? NetStatus::Ok : NetStatus::Failed;
  }
};

class FuzzPlatform : public HeadlessPlatform {
 public:
  ScriptedNetwork net;
  Network& Net() override { return net; }
};

// The content the game would find beside its executable: $VORLAN_CONTENT_DIR, else the default
// build's program folder.
inline std::filesystem::path ContentDir() {
  if (const char* dir = std::getenv("VORLAN_CONTENT_DIR"); dir && *dir) return dir;
  return VORLAN_FUZZ_CONTENT_DIR;
}

struct FuzzGame {
  FuzzPlatform plat;
  Game g{plat};

  FuzzGame() {
    std::error_code ec;
    for (const char* name : {"Pictures", "OtherFiles", "Upload"}) {
      auto from = ContentDir() / name;
      if (std::filesystem::is_directory(from, ec))
        std::filesystem::copy(from, plat.ProgramDir() / name, std::filesystem::copy_options::recursive, ec);
    }
    std::filesystem::create_directories(plat.ProgramDir() / "Upload", ec);
    std::filesystem::create_directories(plat.ProgramDir() / "OtherFiles", ec);
  }

  // Writes the input as the file of a documented path.
  void Put(std::string_view documented, const uint8_t* data, size_t size) {
    auto file = g.PathOf(documented);
    FUZZ_CHECK(!file.empty());
    FUZZ_CHECK(WriteWholeFile(file, std::string_view(reinterpret_cast<const char*>(data), size)));
  }

  // Empties the data folder ("c:\Windows\") so every run starts from the same files.
  void ClearData() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(plat.DataDir(), ec))
      std::filesystem::remove_all(e.path(), ec);
  }
};

inline FuzzGame& Shared() {
  static FuzzGame game;
  return game;
}

}  // namespace vorlan::fuzz
