// A long headless game with scripted input: walking, aiming at the nearest enemy, shooting,
// bombing and fire-mode changes, across waves and several games. Every record must stay within
// its range each frame, and the same seed must give the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/frame_cycle.h"
#include "support/test_game.h"
#include "terrain/new_game.h"

namespace vorlan::testing {
namespace {

class GameRun {
 public:
  explicit GameRun(uint32_t seed) {
    g.rng.Seed(seed);
    OptionsFile(g, false);
    LoadPictures(g);
    g.form.Field.Resize(300, 300);
    if (g.form.Terain.Width() < 320) g.form.Terain.ResizeKeep(320, 320);
    if (g.form.StatusField.Empty()) g.form.StatusField.Resize(300, 78);
    NewGame(g);
  }

  // One frame of scripted play; returns the first record out of its range, if any.
  std::string Frame(int n) {
    Script(n);
    GameFrame(g);
    if (g.form.InGame == 0) {
      ++games;
      g.world.FireModeToggle = kFalse;
      NewGame(g);
    }
    return WorldOutOfRange(g);
  }

  // Everything a replay must reproduce: the counters, every soldier and bullet, the pictures on
  // Field and StatusField, and how many random numbers the game drew.
  std::string Fingerprint() const {
    uint64_t h = 14695981039346656037ull;  // FNV-1a over the pixels
    for (const Surface* s : {&g.form.Field, &g.form.StatusField})
      for (int y = 0; y < s->Height(); ++y)
        for (int x = 0; x < s->Width(); ++x) h = (h ^ GetPixel(*s, x, y)) * 1099511628211ull;
    std::ostringstream o;
    o << std::hex << h << std::dec << ' ' << g.rng.Draws() << ' ';
    const auto& w = g.world;
    o << games << ' ' << w.Score << ' ' << w.GameKills << ' ' << g.options.TimesPlayed << ' '
      << g.timing.GameMinutes << ':' << g.timing.GameSeconds << ' ' << g.rng.State();
    for (const auto& s : w.Soldiers) o << ' ' << s.Alive << ',' << s.X << ',' << s.Y << ',' << s.Health;
    for (const auto& b : w.Bullets) o << ' ' << b.BulletRange;
    return o.str();
  }

  // A copy of the built content, so the statistics written at game over go nowhere real.
  TestGame tg{TestGame::Content::Copied};
  HeadlessPlatform& plat = tg.plat;
  Game& g = tg.g;
  int games = 0;
  int16_t maxWave = 0;

 private:
  void Script(int n) {
    Soldier& p = g.world.Soldiers[0];
    // Aim at the nearest live enemy, or sweep the field when there is none.
    int tx = 150 + static_cast<int>(100 * std::cos(n / 40.0)),
        ty = 150 + static_cast<int>(100 * std::sin(n / 40.0));
    double best = 1e9;
    for (int i = 1; i < kSoldierSlots; ++i) {
      const Soldier& s = g.world.Soldiers[i];
      const double d = std::hypot(s.X - p.X, s.Y - p.Y);
      if (s.Alive == 0 || d >= best) continue;
      best = d;
      tx = static_cast<int>(s.X) + 10;
      ty = static_cast<int>(s.Y) + 10;
    }
    plat.SetCursorField(std::clamp(tx, 0, 299), std::clamp(ty, 0, 299));
    auto push = [&](Event::Type type, int button, int key = 0) {
      plat.PushEvent({.type = type, .keyCode = key, .button = button, .text = {}});
    };
    if (n % 50 == 0) push(Event::Type::MouseDown, 1);
    if (n % 50 == 40) push(Event::Type::MouseUp, 1);
    if (n % 900 == 450) push(Event::Type::MouseDown, 2);
    if (n % 900 == 452) push(Event::Type::MouseUp, 2);
    if (n % 700 == 100) push(Event::Type::MouseDown, 4);
    if (n % 700 == 160) push(Event::Type::MouseUp, 4);
    if (n % 333 == 0) push(Event::Type::KeyUp, 0, 81);  // Q: next fire mode
    // Walk in a slow square with the keys.
    const int phase = (n / 120) % 4;
    for (int k = 0; k < 4; ++k) plat.SetKey(std::array{0x11, 0x20, 0x1F, 0x1E}[k], phase == k);
    // A field medic keeps the first game going through the early waves; later games end.
    if (games == 0 && n < 14000 && p.Alive != 0 && p.Health < 40) p.Health = 100;
    maxWave = std::max(maxWave, g.timing.WaveLeft);
  }
};

// The expected fingerprint of the seeded game. Change it only with a change that is meant to
// alter play; a restructuring must leave it as it is.
constexpr uint64_t kExpectedFingerprint = 9238862879429207669ull;

TEST(GameRun, TwentyThousandScriptedFramesStayInRangeAndReplayExactly) {
  if (!std::filesystem::exists(BuiltProgramDir() / "OtherFiles")) GTEST_SKIP() << "content not built";
  GameRun game(0x1234);
  for (int n = 0; n < 20000; ++n) ASSERT_EQ(game.Frame(n), "") << "frame " << n;
  EXPECT_GE(game.maxWave, 5) << "the first game should reach the 3:00 wave";
  EXPECT_GE(game.games, 1);
  const std::string print = game.Fingerprint();
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : print) h = (h ^ c) * 1099511628211ull;
  EXPECT_EQ(h, kExpectedFingerprint) << "fingerprint text: " << print.substr(0, 200);
}

}  // namespace
}  // namespace vorlan::testing
