// The world steps of one frame at full load, one benchmark each: 201 bullets among 51 soldiers
// and 21 sheep, about 950 snow flakes, 200 blood drops, and the status lines with the
// kills-in-a-row counter. Reports the median time of a call (the frame benchmark counts the
// heap allocations of the whole frame, these steps included).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "game.h"
#include "numbers.h"
#include "platform/headless/headless_platform.h"
#include "world/bullets.h"
#include "world/particles.h"
#include "world/status_lines.h"

namespace {

using namespace vorlan;

class Battlefield {
 public:
  Battlefield() : g_(plat_) {
    g_.form.Field.Resize(300, 300);
    g_.form.Terain.Resize(320, 320, Rgb(40, 90, 40));
    g_.form.InGame = kTrue;
    g_.options.OptDebugInfo = 0;
    for (int i = 0; i < kHsSlots; ++i) g_.hs.HsScore[i] = "100  ";
  }

  // Soldiers in a loose grid, bullets crossing the field among them, sheep at the side.
  void TopUp() {
    auto& w = g_.world;
    for (int i = 0; i < kSoldierSlots; ++i) {
      Soldier& s = w.Soldiers[i];
      s.Alive = kTrue;
      s.Health = 5000;
      s.Power = 3;
      s.Ammo = 20;
      s.X = static_cast<float>(10 + (i % 10) * 28);
      s.Y = static_cast<float>(20 + (i / 10) * 50);
    }
    for (int b = 0; b < kBulletSlots; ++b) {
      Bullet& u = w.Bullets[b];
      if (u.BulletRange >= 1) continue;
      const double a = (b * 37) % 360;
      u.BulletRange = 60;
      u.BulletAngle = a;
      u.BulletX = 5 + (b * 13) % 290;
      u.BulletY = 5 + (b * 29) % 290;
      u.BulletDX = static_cast<float>(std::cos(a * g_.form.DegToRad));
      u.BulletDY = static_cast<float>(std::sin(a * g_.form.DegToRad));
      u.BulletSpeed = 3;
      u.BulletOwner = static_cast<int16_t>(b % kSoldierSlots);
    }
    for (int k = 0; k < 21; ++k) {
      SheepRec& s = w.Sheep[k];
      s.SheepAlive = kTrue;
      s.SheepHealth = 30000;
      s.SheepX = static_cast<float>(10 + k * 13);
      s.SheepY = 275;
    }
    for (int d = 0; d < 200; ++d) {
      if (w.BloodLife[d] >= 1) continue;
      w.BloodLife[d] = 12;
      w.BloodX[d] = static_cast<float>(30 + d);
      w.BloodY[d] = static_cast<float>(40 + d / 2);
      w.BloodDir[d] = static_cast<int16_t>((d * 17) % 360);
      w.BloodSpeed[d] = 1.5;
    }
    w.SnowCount = 949;
    g_.timing.MaxIdleSpins = 20000;
    w.Soldiers[0].ProxExp = 50;
    w.ScoreInfoShow = kTrue;
  }

  Game& game() { return g_; }

 private:
  HeadlessPlatform plat_;
  Game g_;
};

template <typename Step>
void Measure(benchmark::State& state, Step step) {
  Battlefield field;
  Game& g = field.game();
  std::vector<double> times;
  times.reserve(1 << 16);
  for (auto _ : state) {
    field.TopUp();
    const auto t0 = std::chrono::steady_clock::now();
    step(g);
    const auto t1 = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(s);
    if (times.size() < times.capacity()) times.push_back(s * 1000);
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  state.counters["median_ms"] = times.empty() ? 0 : times[times.size() / 2];
}

void BM_MoveBulletsFullLoad(benchmark::State& state) {
  Measure(state, [](Game& g) { MoveBullets(g); });
}
BENCHMARK(BM_MoveBulletsFullLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SnowFullLoad(benchmark::State& state) {
  Measure(state, [](Game& g) { Snow(g); });
}
BENCHMARK(BM_SnowFullLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_BloodFullLoad(benchmark::State& state) {
  Measure(state, [](Game& g) {
    double none = 0;
    Blood(g, 0, 0, none, 0, 0);
  });
}
BENCHMARK(BM_BloodFullLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_StatusLinesAndKillsInRow(benchmark::State& state) {
  Measure(state, [](Game& g) {
    StatusLines(g);
    KillsInRow(g, kFalse);
  });
}
BENCHMARK(BM_StatusLinesAndKillsInRow)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
