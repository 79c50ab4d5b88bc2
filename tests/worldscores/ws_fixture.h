// One player's machine for the world-score tests: a program folder with the game's data files,
// a data folder, a headless platform and a game, plus helpers to fill and read the tables.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "platform/headless/headless_platform.h"
#include "platform/network.h"
#include "support/offline_network.h"
#include "support/score_server.h"
#include "worldscores/world_table.h"

namespace vorlan::testing {

// A result with the local table's padding.
inline ScoreRecord Result(long score, const std::string& name, long kills = 10, long date = 20251220,
                          int skill = 3) {
  auto s = PadNumber(skill, 2);
  return {PadNumber(score, 5), PadNumber(kills, 3), "03:07", s, s, s, s, PadNumber(120, 3), PadNumber(150, 3),
          PadNumber(7, 5),     PadNumber(date, 8),  name};
}

// A 28-line page head like the one the web site serves, line 15 being the one replaced.
inline std::string TemplateText() {
  std::string t;
  for (int i = 1; i <= 28; ++i)
    t += (i == 15 ? std::string("LINE15") : "<!-- head " + std::to_string(i) + " -->") + "\r\n";
  return t;
}

// The real network with hooks the tests use to stage what other clients do at a given moment:
// each before-hook runs before the call and may answer in its place; afterRename sees the answer.
class HookedNetwork : public OfflineNetwork {
 public:
  HookedNetwork() : OfflineNetwork(MakeCurlNetwork()) {}
  using Hook = std::function<std::optional<NetStatus>(std::string_view name)>;
  Hook beforeGet, beforeRename;
  std::function<void(std::string_view to, NetStatus answer)> afterRename;

  NetStatus FtpGet(std::string_view r, const std::filesystem::path& l, bool a) override {
    if (auto s = beforeGet ? beforeGet(r) : std::nullopt) return *s;
    return OfflineNetwork::FtpGet(r, l, a);
  }
  NetStatus FtpRename(std::string_view a, std::string_view b) override {
    if (auto s = beforeRename ? beforeRename(a) : std::nullopt) return *s;
    NetStatus s = OfflineNetwork::FtpRename(a, b);
    if (afterRename) afterRename(b, s);
    return s;
  }
};

// A headless platform with the network a test chooses (the real one unless set).
class TestPlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  Network& Net() override { return net ? *net : HeadlessPlatform::Net(); }
  // The wall clock instead of the virtual one, for deadlines that must pass while a call waits.
  uint32_t GetTickCount() override {
    if (!realClock) return HeadlessPlatform::GetTickCount();
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  Network* net = nullptr;
  bool realClock = false;
};

// Writes a world archive with the results in places 1, 2, ...; it stores the counter one higher.
inline void WriteWorldArchive(const std::filesystem::path& file, const std::vector<ScoreRecord>& results,
                              int uploads) {
  WorldScoreState ws;
  for (size_t i = 0; i < results.size(); ++i) SetWsRecord(ws, static_cast<int>(i), results[i]);
  ws.WsUploads = static_cast<int16_t>(uploads);
  ws.WsLastUpdateRaw = "24.12.2025";
  std::string out;
  for (const auto& l : WorldArchiveLines(ws, true, "31.12.2025")) out += l + "\r\n";
  WriteBytes(file, out);
}

struct Machine {
  OfflineNetwork offline;  // no interface, nothing answers
  HookedNetwork hooked;
  std::unique_ptr<TestPlatform> plat = std::make_unique<TestPlatform>();  // removes its folders
  std::filesystem::path program = plat->ProgramDir(), data = plat->DataDir();
  std::unique_ptr<Game> g;

  enum class Kind { Real, Offline, Hooked };
  explicit Machine(const std::string& site, Kind kind = Kind::Real) {
    WriteBytes(program / "OtherFiles" / "WebSite.txt", site + "\r\n");
    WriteBytes(program / "OtherFiles" / "default.htm", TemplateText());
    std::filesystem::create_directories(program / "upload");
    WriteWorldArchive(program / "OtherFiles" / "Temp2.txt", {}, -1);  // the default: empty, counter 0
    if (kind == Kind::Offline) plat->net = &offline;
    if (kind == Kind::Hooked) plat->net = &hooked;
    g = std::make_unique<Game>(*plat);
    SetLimits(2, 20);
  }

  // Puts results into the local table as if it had been loaded from its archive.
  void Local(const std::vector<ScoreRecord>& results) {
    int i = 0;
    for (const auto& r : results) SetHsRecord(g->hs, i++, r);
    for (; i < kHsSlots; ++i) SetHsRecord(g->hs, i, ScoreRecord{});
    g->hs.HsLoadCounter = 1;  // the next load call keeps the table in memory
  }
  void ScreenLoad() { LoadWorldScores(*g); }
  // Seconds to connect or to wait for progress, for one transfer and for the whole exchange.
  void SetLimits(int callSeconds, int transferSeconds, int exchangeSeconds = NetLimits{}.exchangeSeconds) {
    NetLimits limits = g->plat.Net().Limits();
    limits.connectSeconds = limits.stallSeconds = callSeconds;
    limits.totalSeconds = transferSeconds;
    limits.exchangeSeconds = exchangeSeconds;
    g->plat.Net().SetLimits(limits);
  }
  std::filesystem::path Archive() const { return data / "AtopwVo118.vor"; }
  std::filesystem::path Backup() const { return data / "AtopwCopy.vor"; }
  std::filesystem::path Page() const { return program / "OtherFiles" / "worldscoresVo118.htm"; }
};

// A world archive file as a table.
inline WorldScoreState ReadArchive(const std::filesystem::path& file) {
  WorldScoreState ws;
  ReadWorldArchive(file, ws);
  return ws;
}

// How often a name appears in places 1 to 100.
inline int Count(const WorldScoreState& ws, const std::string& name) {
  return static_cast<int>(std::count(ws.WsName.begin(), ws.WsName.begin() + 100, name));
}

}  // namespace vorlan::testing
