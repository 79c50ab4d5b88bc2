// A long headless game with scripted input: walking, aiming at the nearest enemy, shooting,
// bombing and fire-mode changes, across waves and several games. Every record must stay within
// its range each frame, and the same seed must give the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

#include "game.h"
#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "platform/headless_platform.h"
#include "shell/frame_cycle.h"
#include "terrain/new_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

class GameRun {
 public:
  explicit GameRun(uint32_t seed) : folder_(Copy()), plat_(folder_), g_(plat_) {
    g_.rng.Seed(seed);
    OptionsFile(g_, false);
    LoadPictures(g_);
    g_.form.Field.Resize(300, 300);
    if (g_.form.Terain.Width() < 320) g_.form.Terain.ResizeKeep(320, 320);
    if (g_.form.StatusField.Empty()) g_.form.StatusField.Resize(300, 78);
    NewGame(g_);
  }
  ~GameRun() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  // One frame of scripted play, then the checks; returns false at the first broken record.
  bool Frame(int n) {
    Script(n);
    GameFrame(g_);
    if (g_.form.InGame == 0) {
      ++games_;
      g_.world.FireModeToggle = kFalse;
      NewGame(g_);
    }
    return Check(n);
  }

  // Everything a replay must reproduce.
  std::string Fingerprint() const {
    std::ostringstream o;
    const auto& w = g_.world;
    o << games_ << ' ' << w.Score << ' ' << w.GameKills << ' ' << g_.options.TimesPlayed << ' '
      << g_.timing.GameMinutes << ':' << g_.timing.GameSeconds << ' ' << g_.rng.State();
    for (const auto& s : w.Soldiers) o << ' ' << s.Alive << ',' << s.X << ',' << s.Y << ',' << s.Health;
    for (const auto& b : w.Bullets) o << ' ' << b.BulletRange;
    return o.str();
  }

  int games() const { return games_; }
  int16_t maxWave() const { return maxWave_; }
  std::string failure;

 private:
  // A copy of the built content, so the statistics written at game over go nowhere real.
  static fs::path Copy() {
    static int runs = 0;
    const fs::path dir = fs::temp_directory_path() /
                         ("vorlan-game-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    std::error_code ec;
    fs::remove_all(dir, ec);
    for (const char* sub : {"Pictures", "OtherFiles"}) {
      fs::copy(fs::path(VORLAN_PROGRAM_DIR) / sub, dir / sub, fs::copy_options::recursive, ec);
    }
    fs::create_directories(dir / "OtherFiles");
    return dir;
  }

  void Script(int n) {
    auto& w = g_.world;
    const Soldier& p = w.Soldiers[0];
    // Aim at the nearest live enemy, or sweep the field when there is none.
    int tx = 150 + static_cast<int>(100 * std::cos(n / 40.0)), ty = 150 + static_cast<int>(100 * std::sin(n / 40.0));
    double best = 1e9;
    for (int i = 1; i < kSoldierSlots; ++i) {
      const Soldier& s = w.Soldiers[i];
      if (s.Alive == 0) continue;
      const double d = std::hypot(s.X - p.X, s.Y - p.Y);
      if (d < best) best = d, tx = static_cast<int>(s.X) + 10, ty = static_cast<int>(s.Y) + 10;
    }
    plat_.SetCursorField(std::clamp(tx, 0, 299), std::clamp(ty, 0, 299));
    auto mouse = [&](Event::Type type, int button) {
      Event e;
      e.type = type;
      e.button = button;
      plat_.PushEvent(e);
    };
    if (n % 50 == 0) mouse(Event::Type::MouseDown, 1);
    if (n % 50 == 40) mouse(Event::Type::MouseUp, 1);
    if (n % 900 == 450) mouse(Event::Type::MouseDown, 2);
    if (n % 900 == 452) mouse(Event::Type::MouseUp, 2);
    if (n % 700 == 100) mouse(Event::Type::MouseDown, 4);
    if (n % 700 == 160) mouse(Event::Type::MouseUp, 4);
    if (n % 333 == 0) {
      Event e;
      e.type = Event::Type::KeyUp;
      e.keyCode = 81;  // Q: next fire mode
      plat_.PushEvent(e);
    }
    // Walk in a slow square with the keys.
    const int phase = (n / 120) % 4;
    plat_.SetKey(0x11, phase == 0);
    plat_.SetKey(0x20, phase == 1);
    plat_.SetKey(0x1F, phase == 2);
    plat_.SetKey(0x1E, phase == 3);
    // A field medic keeps the first game going through the early waves; later games end.
    Soldier& pl = w.Soldiers[0];
    if (games_ == 0 && n < 14000 && pl.Alive != 0 && pl.Health < 40) pl.Health = 100;
    if (g_.timing.WaveLeft > maxWave_) maxWave_ = g_.timing.WaveLeft;
  }

  // The documented ranges of every record the battle touches.
  bool Check(int n) {
    const auto& w = g_.world;
    auto in = [](double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; };
    std::string bad;
    if (!in(w.SpawnSlot, 0, 51) || !in(w.AliveCount, 0, 51) || !in(w.FireMode, 1, 3)) bad = "counters";
    for (int i = 0; i < kSoldierSlots && bad.empty(); ++i) {
      const Soldier& s = w.Soldiers[i];
      if (s.Alive != kTrue && s.Alive != kFalse) bad = "Alive";
      if (s.Alive == 0) continue;
      if (!in(s.X, -250, 550) || !in(s.Y, -250, 550) || !in(s.Health, 1, 30000) || !in(s.Facing, 0, 360) ||
          !in(s.WalkDir, -360, 720) || !in(s.Ammo, 0, 1000) || !in(s.Speed, 0, 30) || !in(s.Range, 0, 300) ||
          !in(s.Power, 3, 16) || !in(s.RechargeTime, 4, 20))
        bad = "soldier " + std::to_string(i);
    }
    const Soldier& p = w.Soldiers[0];
    if (p.Alive != 0 && (!in(p.ProxExp, 0, 100) || !in(p.AimExp, 0, 100) || !in(p.TimeExp, 0, 100) ||
                         !in(p.Melee, 0, 11) || (p.Melee < 11 && !in(p.MeleeExp, 0, 99)) ||
                         !in(p.Spread, -3, 30) || !in(p.Power, 3, 14)))
      bad = "player skills";
    for (const auto& b : w.Bullets)
      if (b.BulletRange >= 1 && (!in(b.BulletOwner, 0, 50) || !in(b.BulletRange, 1, 400))) bad = "bullet";
    for (int k = 21; k < kSheepSlots; ++k)
      if (w.Sheep[k].SheepAlive != 0) bad = "sheep beyond slot 20";
    for (int a = 0; a < kAcidKinds; ++a)
      if (!in(w.AcidTimer[a], -1, 600)) bad = "AcidTimer";
    if (!in(w.SnowCount, 0, kSnowSlots - 1) || !in(g_.timing.WaveLeft, 0, 35)) bad = "snow or wave";
    if (!bad.empty()) failure = "frame " + std::to_string(n) + ": " + bad;
    return bad.empty();
  }

  fs::path folder_;
  HeadlessPlatform plat_;
  Game g_;
  int games_ = 0;
  int16_t maxWave_ = 0;
};

TEST(GameRun, TwentyThousandScriptedFramesStayInRangeAndReplayExactly) {
  if (!fs::exists(fs::path(VORLAN_PROGRAM_DIR) / "OtherFiles")) GTEST_SKIP() << "content not built";
  constexpr int kFrames = 20000;
  std::string first;
  for (int run = 0; run < 2; ++run) {
    GameRun game(0x1234);
    for (int n = 0; n < kFrames; ++n) {
      ASSERT_TRUE(game.Frame(n)) << game.failure;
    }
    EXPECT_GE(game.maxWave(), 5) << "the first game should reach the 3:00 wave";
    EXPECT_GE(game.games(), 1);
    if (run == 0) first = game.Fingerprint();
    else EXPECT_EQ(game.Fingerprint(), first);
  }
}

}  // namespace
}  // namespace vorlan
