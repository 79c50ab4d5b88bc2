// The world table's local work during a synchronisation: reading a full archive, reading a
// hostile 64 MB archive (the read is bounded, so it costs about as much as a real one), the
// merge of a full local table into a full world table with saving, and writing the page.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "game.h"
#include "persistence/high_scores.h"
#include "platform/headless/headless_platform.h"
#include "worldscores/score_server.h"
#include "worldscores/world_table.h"
#include "worldscores/ws_fixture.h"

namespace {

using namespace vorlan;
namespace fs = std::filesystem;

ScoreRecord Row(long score, const std::string& name) {
  ScoreRecord r;
  r.Score = PadNumber(score, col::Score);
  r.Kills = PadNumber(score / 9, col::Kills);
  r.Time = "04:12";
  r.Accuracy = r.Recharge = r.BulletSpeed = r.Melee = PadNumber(4, 2);
  r.MaxHealth = PadNumber(120, col::MaxHealth);
  r.MaxAmmo = PadNumber(150, col::MaxAmmo);
  r.TimesPlayed = PadNumber(9, col::TimesPlayed);
  r.Date = "20251224";
  r.Name = name;
  return r;
}

struct Setup {
  HeadlessPlatform plat;
  Game g{plat};
  fs::path archive;
  Setup() {
    fs::create_directories(plat.ProgramDir() / "OtherFiles");
    std::ofstream(plat.ProgramDir() / "OtherFiles" / "WebSite.txt") << "http://127.0.0.1:8421\r\n";
    std::ofstream t(plat.ProgramDir() / "OtherFiles" / "default.htm", std::ios::binary);
    for (int i = 0; i < 28; ++i) t << "<!-- head -->\r\n";
    WorldScoreState ws;
    for (int i = 0; i < 101; ++i) SetWsRecord(ws, i, Row(90000 - i * 700, "Player" + std::to_string(i)));
    archive = plat.DataDir() / "AtopwVo118.vor";
    std::ofstream out(archive, std::ios::binary);
    for (const auto& l : WorldArchiveLines(ws, true, "01.01.2026")) out << l << "\r\n";
  }
};

void BM_LoadFullArchive(benchmark::State& state) {
  Setup s;
  for (auto _ : state) {
    s.g.ws.WsLoadCounter = 0;
    LoadWorldScores(s.g);
    benchmark::DoNotOptimize(s.g.ws.WsScore[0]);
  }
}
BENCHMARK(BM_LoadFullArchive)->Unit(benchmark::kMicrosecond);

void BM_LoadHostileArchive(benchmark::State& state) {
  Setup s;
  {
    std::ofstream out(s.archive, std::ios::binary);
    std::string junk(1 << 20, 'x');
    for (int i = 0; i < 64; ++i) out << junk;
  }
  for (auto _ : state) {
    s.g.ws.WsLoadCounter = 0;
    LoadWorldScores(s.g);
    benchmark::DoNotOptimize(s.g.ws.WsScore[0]);
  }
}
BENCHMARK(BM_LoadHostileArchive)->Unit(benchmark::kMicrosecond);

void BM_MergeAndSave(benchmark::State& state) {
  Setup s;
  for (int i = 0; i < 10; ++i) SetHsRecord(s.g.hs, i, Row(85000 - i * 5000, "Local" + std::to_string(i)));
  for (auto _ : state) {
    std::error_code ec;
    fs::copy_file(s.archive, s.archive.string() + ".orig", fs::copy_options::skip_existing, ec);
    fs::copy_file(s.archive.string() + ".orig", s.archive, fs::copy_options::overwrite_existing, ec);
    s.g.hs.HsLoadCounter = 1;
    s.g.ws.WsLoadCounter = 0;
    WorldSync(s.g);  // the upload finds no session and ends at once
  }
}
BENCHMARK(BM_MergeAndSave)->Unit(benchmark::kMillisecond);

void BM_WritePage(benchmark::State& state) {
  Setup s;
  LoadWorldScores(s.g);
  for (auto _ : state) WriteWorldPage(s.g);
}
BENCHMARK(BM_WritePage)->Unit(benchmark::kMicrosecond);

// A whole synchronisation against the real score server on 127.0.0.1 with no one else syncing:
// version check, address file, login, template, archive, merge, replace, verify, page, close.
void BM_SyncUncontended(benchmark::State& state) {
  testing::ScoreServer server;
  if (!server.Ready()) {
    state.SkipWithError("scripts/score-server did not start");
    return;
  }
  testing::Machine m(server.Site());
  std::vector<double> times;
  long score = 1000;
  for (auto _ : state) {
    m.Local({testing::Result(score++, "Bench")});
    auto start = std::chrono::steady_clock::now();
    DownloadScores(*m.g);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (m.g->ws.SyncAborted) state.SkipWithError("the synchronisation failed");
  }
  std::sort(times.begin(), times.end());
  if (!times.empty()) state.counters["median_ms"] = times[times.size() / 2];
}
BENCHMARK(BM_SyncUncontended)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace
