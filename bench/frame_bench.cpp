// One game frame at full load: 51 soldiers with separation on, 201 bullets in flight, 21 sheep,
// about 950 snow flakes, 200 blood drops, an explosion, the cleaner and an aircraft. Reports the
// median frame time and the heap allocations per frame (of the whole frame and of the soldier pass).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <unistd.h>
#include <vector>

#include "game.h"
#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "platform/headless/headless_platform.h"
#include "shell/frame_cycle.h"
#include "soldiers/soldier_pass.h"
#include "terrain/new_game.h"
#include "world/field_events.h"

// Every heap allocation of the benchmark process is counted here.
static std::atomic<long long> gAllocations{0};

// The replacements pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace vorlan;
namespace fs = std::filesystem;

// A battle held at full load: before every measured frame the tables are topped up again.
class FullBattle {
 public:
  FullBattle() : folder_(ProgramCopy()), plat_(folder_), g_(plat_) {
    LoadPictures(g_);
    g_.form.Field.Resize(300, 300);
    if (g_.form.Terain.Width() < 320) g_.form.Terain.ResizeKeep(320, 320);
    if (g_.form.StatusField.Empty()) g_.form.StatusField.Resize(300, 78);
    NewGame(g_);
    g_.timing.FramesLastSecond = 33;
    plat_.SetCursorField(150, 60);
    g_.input.MouseLeft = kTrue;
    for (int i = 0; i < 21; ++i) SheepPass(g_, kTrue);
    Cleaner(g_, kTrue);
    Explosion(g_, kTrue, 120, 120);
    AirRaid(g_, kFalse, kFalse, kFalse, kTrue);
    for (int i = 1; i < kSoldierSlots; ++i) {
      Soldier& s = g_.world.Soldiers[i];
      s = g_.world.Soldiers[0];
      s.Kind = "AiLVL" + std::to_string(i % 6);
      s.Range = 40;
    }
    TopUp();
  }

  void TopUp() {
    auto& w = g_.world;
    w.SeparationOff = kFalse;
    g_.timing.FramesLastSecond = 33;
    // The same situation every frame: the player in the middle, the enemies in a loose grid
    // below it (some pairs close enough for separation to act), out of melee reach.
    for (int i = 0; i < kSoldierSlots; ++i) {
      Soldier& s = w.Soldiers[i];
      s.Alive = kTrue;
      s.Health = 5000;
      s.WalkLeft = 0;
      if (s.Ammo < 5) s.Ammo = 5;
      s.X = i == 0 ? 140.0f : static_cast<float>(10 + ((i - 1) % 10) * 28);
      s.Y = i == 0 ? 100.0f : static_cast<float>(170 + ((i - 1) / 10) * 24 + (i % 3) * 4);
    }
    for (int b = 0; b < kBulletSlots; ++b) {
      Bullet& u = w.Bullets[b];
      if (u.BulletRange >= 1) continue;
      // Bullets cross the empty upper strip, so hits (and their blood) stay the exception.
      const double a = b % 2 ? 0 : 180;
      u.BulletRange = 60;
      u.BulletAngle = a;
      u.BulletX = 10 + (b * 13) % 280;
      u.BulletY = 5 + (b * 29) % 60;
      u.BulletDX = static_cast<float>(std::cos(a * g_.form.DegToRad));
      u.BulletDY = static_cast<float>(std::sin(a * g_.form.DegToRad));
      u.BulletSpeed = 3;
      u.BulletOwner = static_cast<int16_t>(b % kSoldierSlots);
    }
    for (int k = 0; k < 21; ++k) {
      w.Sheep[k].SheepAlive = kTrue;
      w.Sheep[k].SheepHealth = 100;
      if (w.Sheep[k].SheepX < 0 || w.Sheep[k].SheepX > 280) w.Sheep[k].SheepX = 100;
    }
    for (int d = 0; d < 200; ++d) {
      if (w.BloodLife[d] >= 1) continue;
      w.BloodLife[d] = 12;
      w.BloodX[d] = static_cast<float>(30 + d);
      w.BloodY[d] = static_cast<float>(40 + d / 2);
      w.BloodDir[d] = static_cast<int16_t>((d * 17) % 360);
      w.BloodSpeed[d] = 1.5;
    }
    w.SnowCount = 950;
    g_.options.OptSnow = 0;
    if (w.ExplosionOn == 0 || w.ExplosionFrame > 20) Explosion(g_, kTrue, 120, 120);
    if (w.CleanerOn == 0 || w.CleanerY > 250) Cleaner(g_, kTrue);
    if (w.AirRaidOn == 0) AirRaid(g_, kFalse, kFalse, kFalse, kTrue);
    g_.form.InGame = kTrue;
    g_.form.Paused = kFalse;
  }

  ~FullBattle() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  Game& game() { return g_; }

 private:
  // The built program folder, copied so the benchmark never touches the real settings.
  static fs::path ProgramCopy() {
    const fs::path copy = fs::temp_directory_path() / ("vorlan-frame-bench-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(copy, ec);
    fs::create_directories(copy);
    for (const char* dir : {"Pictures", "OtherFiles", "Sounds"}) {
      fs::copy(fs::path(VORLAN_PROGRAM_DIR) / dir, copy / dir, fs::copy_options::recursive, ec);
    }
    return copy;
  }

  fs::path folder_;
  HeadlessPlatform plat_;
  Game g_;
};

double Median(std::vector<double>& v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Times one step at full load frame by frame: median and heap allocations per frame.
template <typename Step>
void TimeFullLoad(benchmark::State& state, Step step) {
  FullBattle battle;
  Game& g = battle.game();
  std::vector<double> times;
  times.reserve(1 << 16);
  long long allocs = 0, frames = 0;
  for (auto _ : state) {
    battle.TopUp();
    const long long before = gAllocations.load();
    const auto t0 = std::chrono::steady_clock::now();
    step(g);
    const auto t1 = std::chrono::steady_clock::now();
    allocs += gAllocations.load() - before;
    ++frames;
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(s);
    if (times.size() < times.capacity()) times.push_back(s * 1000);
  }
  state.counters["median_ms"] = Median(times);
  state.counters["allocs_per_frame"] = frames ? static_cast<double>(allocs) / frames : 0;
  state.counters["alive"] = g.world.AliveCount;
}

void BM_GameFrameFullLoad(benchmark::State& state) { TimeFullLoad(state, GameFrame); }
BENCHMARK(BM_GameFrameFullLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(3.0);

void BM_SoldierPassFullLoad(benchmark::State& state) { TimeFullLoad(state, SoldierPass); }
BENCHMARK(BM_SoldierPassFullLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
