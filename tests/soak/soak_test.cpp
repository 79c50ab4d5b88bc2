// The soak test: the whole program on the headless platform, driven pass by pass with random
// keys, mouse moves and buttons, menu clicks, pauses, new games and typed names for thousands of
// frames. Every pass checks the state's indexes and ranges; the live heap must not grow once the
// first games have been played. VORLAN_SOAK_FRAMES sets the length (CI runs it much longer under
// the sanitizers).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "game.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "platform/network.h"
#include "shell/input.h"
#include "shell/display.h"
#include "shell/startup.h"
#include "support/offline_network.h"
#include "support/test_game.h"

#if defined(__SANITIZE_ADDRESS__)
#define VORLAN_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLAN_SOAK_ASAN 1
#endif
#endif
#ifdef VORLAN_SOAK_ASAN
// From the AddressSanitizer runtime (its header is not shipped with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace vorlan {
namespace {

size_t LiveHeapBytes() {
#ifdef VORLAN_SOAK_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

long SoakFrames() {
  if (const char* env = std::getenv("VORLAN_SOAK_FRAMES"); env && *env) {
    long n = std::strtol(env, nullptr, 10);
    if (n > 0) return n;
  }
  return 20000;
}

// The headless platform with a hook in the tick's wait (one call per paced pass or frame) and no
// network at all.
class SoakPlatform : public HeadlessPlatform {
 public:
  std::function<void()> onPass;
  void WaitPastTick(uint32_t tick) override {
    HeadlessPlatform::WaitPastTick(tick);
    if (onPass) onPass();
  }
  Network& Net() override { return offline_; }

 private:
  testing::OfflineNetwork offline_;
};

// Menu items that can be clicked, by screen: (x, y) of the item's top left.
struct Item {
  const char* screen;
  int x, y;
};
constexpr Item kItems[] = {
    {"", 30, 25},   {"", 30, 50},     {"", 30, 75},     {"", 30, 100},     {"", 30, 125},
    {"", 30, 150},  {"HS", 30, 260},  {"HS", 165, 260}, {"WS", 30, 260},   {"WS", 125, 260},
    {"OPTIONS", 30, 260}, {"OPTIONS", 42, 40}, {"OPTIONS", 42, 60}, {"OPTIONS", 42, 80},
    {"OPTIONS", 42, 100}, {"OPTIONS", 42, 120}, {"OPTIONS", 42, 140}, {"OPTIONS", 42, 160},
    {"HELP", 30, 260}, {"ABOUT", 30, 260}};

// Typed texts for the name box: plain, accented, wide, broken UTF-8, control bytes, long.
const std::vector<std::string> kTexts = {
    "a", "Zed", "\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF\xFE", "\xC3", "\x01\r\n\t",
    "WP", "END", std::string(80, 'm'), "../..\\x", "<b>&\"'", "\x7F", " "};

class Soak {
 public:
  explicit Soak(uint32_t seed) : rnd_(seed), g_(plat_) {
    copied_ = testing::CopyContent(plat_.ProgramDir());
    g_.rng.Seed(seed);
    plat_.onPass = [this] { Pass(); };
  }

  // Start-up, then main-loop passes until the frames are done.
  void Run(long frames) {
    frames_ = frames;
    g_.form.StopAfterPasses = 1;
    WindowLoad(g_);
    while (!g_.form.Quit && failure_.empty()) {
      MainLoopPass(g_);
      if (++outerPasses_ > frames_ + 1000) Fail("the main loop stopped pacing its passes");
    }
    endHeap_ = LiveHeapBytes();
    WindowUnload(g_);
  }

  bool copied() const { return copied_; }
  const std::string& failure() const { return failure_; }
  int games() const { return games_; }
  long passes() const { return passes_; }
  int names() const { return namesTyped_; }
  int pauses() const { return pauses_; }
  size_t baselineHeap() const { return baseHeap_; }
  size_t endHeap() const { return endHeap_; }

 private:
  int Chance(int outOf) { return static_cast<int>(rnd_() % static_cast<uint32_t>(outOf)); }
  bool OneIn(int n) { return Chance(n) == 0; }

  void Fail(const std::string& what) {
    if (failure_.empty()) failure_ = "pass " + std::to_string(passes_) + ": " + what;
    g_.form.Quit = true;
  }

  void Mouse(Event::Type type, int button) {
    Event e;
    e.type = type;
    e.button = button;
    e.x = static_cast<float>(cursorX_);
    e.y = static_cast<float>(cursorY_);
    plat_.PushEvent(e);
  }
  void KeyEvent(Event::Type type, int vk) {
    Event e;
    e.type = type;
    e.keyCode = vk;
    e.shift = Chance(8);
    plat_.PushEvent(e);
  }
  void MoveCursor(int x, int y) {
    cursorX_ = x;
    cursorY_ = y;
    plat_.SetCursorField(x, y);
  }
  // Presses a scan code for a few passes.
  void Hold(int scan, int passes) {
    plat_.SetKey(scan, true);
    held_.push_back({scan, passes});
  }

  void Pass() {
    ++passes_;
    // The recording platform keeps every call: forget them, they are not the game's memory.
    plat_.audioCalls.clear();
    plat_.messageBoxes.clear();
    plat_.openedUrls.clear();
    if (passes_ >= frames_) {
      g_.form.Quit = true;
      return;
    }
    Check();
    Track();
    Release();
    if (g_.hs.NameEntryActive) {
      NameEntry();
    } else if (g_.form.InGame && !g_.form.Paused) {
      Play();
    } else {
      Menus();
    }
    Anywhere();
  }

  // Keys held for their time are let go.
  void Release() {
    for (size_t i = 0; i < held_.size();) {
      if (--held_[i].second <= 0) {
        plat_.SetKey(held_[i].first, false);
        held_[i] = held_.back();
        held_.pop_back();
      } else {
        ++i;
      }
    }
    if (clickUp_ && --clickUp_ == 0) Mouse(Event::Type::MouseUp, 1);
  }

  void Anywhere() {
    if (OneIn(40)) MoveCursor(cursorX_ + Chance(41) - 20, cursorY_ + Chance(41) - 20);
    if (OneIn(400)) MoveCursor(Chance(360) - 30, Chance(360) - 30);  // also outside the field
    if (OneIn(60)) KeyEvent(OneIn(2) ? Event::Type::KeyDown : Event::Type::KeyUp, Chance(256));
    if (OneIn(3000)) Hold(dik::Add, 1 + Chance(5));
    if (OneIn(3000)) Hold(dik::Subtract, 1 + Chance(5));
    if (OneIn(900)) Hold(OneIn(2) ? dik::Up : dik::Down, 1 + Chance(30));
    if (OneIn(20000)) Hold(dik::Insert, 1);  // a screenshot now and then
    if (OneIn(5000)) {
      plat_.SetFocus(false);
      unfocused_ = 5 + Chance(20);
    }
    if (unfocused_ && --unfocused_ == 0) plat_.SetFocus(true);
  }

  void Play() {
    // Some games go well: their score reaches the table, and a name is typed in.
    if (++played_ == 1) lucky_ = OneIn(3);
    if (lucky_ && g_.world.Score < 3000) g_.world.Score = static_cast<int16_t>(3000 + Chance(20000));
    static constexpr int kMoves[] = {dik::W, dik::A, dik::S, dik::D, dik::Left, dik::Right};
    if (OneIn(15)) Hold(kMoves[Chance(6)], 1 + Chance(40));
    if (OneIn(25)) Mouse(OneIn(3) ? Event::Type::MouseUp : Event::Type::MouseDown, 1 + Chance(7));
    if (OneIn(3)) MoveCursor(cursorX_ + Chance(7) - 3, cursorY_ + Chance(7) - 3);
    if (OneIn(200)) KeyEvent(Event::Type::KeyUp, OneIn(2) ? 81 : 17);  // next fire mode
    // A pause now and then; a long game is cut short so that many games are played.
    if (OneIn(1500) || (!lucky_ && played_ > 2500 + Chance(2000))) {
      Hold(dik::Escape, 1 + Chance(3));
      ++pauses_;
      if (played_ > 2500) wantNewGame_ = true;
    }
  }

  void Menus() {
    played_ = 0;
    const std::string& screen = g_.menus.CurrentScreen;
    if (wantNewGame_ && !clickUp_ && OneIn(5)) {
      if (screen != "") {
        Hold(dik::Escape, 1);
      } else {
        Click(30, 50);  // START NEW GAME
        wantNewGame_ = false;
      }
      return;
    }
    if (OneIn(300)) Hold(dik::Return, 1 + Chance(3));
    if (g_.form.Paused && OneIn(200)) KeyEvent(Event::Type::KeyDown, 0x57);  // W resumes
    // No menu click while a held key (Escape, Return) may still change the screen: the click
    // would land on the next screen, where (30, 260) is EXIT GAME.
    if (!clickUp_ && held_.empty() && OneIn(12)) {
      std::vector<const Item*> here;
      for (const Item& item : kItems)
        if (screen == item.screen) here.push_back(&item);
      if (!here.empty()) {
        const Item& item = *here[Chance(static_cast<int>(here.size()))];
        // Now and then a click just beside the item.
        Click(item.x + 4 + (OneIn(10) ? Chance(200) : 0), item.y + 6 + (OneIn(10) ? Chance(9) - 4 : 0));
      }
    }
    if (OneIn(50)) Mouse(Event::Type::MouseDown, 2);
    if (OneIn(50)) Mouse(Event::Type::MouseUp, 2);
    if (screen == "" && !g_.form.InGame && OneIn(400)) wantNewGame_ = true;
  }

  void Click(int x, int y) {
    MoveCursor(x, y);
    Mouse(Event::Type::MouseDown, 1);
    clickUp_ = 1 + Chance(3);
  }

  void NameEntry() {
    if (OneIn(6)) {
      Event e;
      e.type = Event::Type::Text;
      e.text = kTexts[Chance(static_cast<int>(kTexts.size()))];
      plat_.PushEvent(e);
    }
    if (OneIn(20)) KeyEvent(Event::Type::KeyDown, 8);  // Backspace
    if (OneIn(150)) {
      Hold(28, 1 + Chance(2));  // Enter ends the entry
      ++namesTyped_;
    }
  }

  // Games start when play begins at the clock's zero from the menu.
  void Track() {
    const bool running = g_.form.InGame && !g_.form.Paused;
    if (running && !wasRunning_ && g_.timing.GameMinutes == 0 && g_.timing.GameSeconds == 0) {
      ++games_;
      if (games_ == 3) baseHeap_ = LiveHeapBytes();
    }
    wasRunning_ = running;
  }

  void Check() {
    const auto& w = g_.world;
    auto in = [](double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; };
    auto flag = [](int16_t v) { return v == kTrue || v == kFalse; };
    if (!in(w.SpawnSlot, 0, kSoldierSlots)) return Fail("SpawnSlot " + std::to_string(w.SpawnSlot));
    if (!in(w.AliveCount, 0, kSoldierSlots)) return Fail("AliveCount");
    if (!in(w.FireMode, 1, 3)) return Fail("FireMode");
    if (!in(w.HitHistoryCount, 0, 10)) return Fail("HitHistoryCount");
    if (!in(w.SnowCount, 0, kSnowSlots)) return Fail("SnowCount");
    for (int i = 0; i < kSoldierSlots; ++i) {
      const Soldier& s = w.Soldiers[i];
      if (!flag(s.Alive)) return Fail("soldier " + std::to_string(i) + " Alive");
      if (s.Alive == 0) continue;
      if (!in(s.X, -1000, 1300) || !in(s.Y, -1000, 1300)) return Fail("soldier " + std::to_string(i) + " position");
      if (!std::isfinite(s.Health) || !std::isfinite(s.Speed) || !std::isfinite(s.Range))
        return Fail("soldier " + std::to_string(i) + " not a number");
    }
    for (const Bullet& b : w.Bullets) {
      if (b.BulletRange > 0 && !in(b.BulletOwner, 0, kSoldierSlots - 1)) return Fail("BulletOwner");
    }
    for (const SheepRec& s : w.Sheep)
      if (s.SheepAlive != 0 && !in(s.SheepKind, 1, 2)) return Fail("SheepKind");
    const auto& hs = g_.hs;
    if (!in(hs.NameRow, 0, kHsSlots - 1)) return Fail("NameRow");
    if (!flag(hs.NameEntryActive)) return Fail("NameEntryActive");
    for (int slot = 0; slot < kHsSlots; ++slot)
      if (hs.HsName[slot].size() > static_cast<size_t>(col::Name)) return Fail("name longer than its column");
    if (g_.form.YourName.size() > static_cast<size_t>(col::Name)) return Fail("name box longer than a name");
    const std::string& screen = g_.menus.CurrentScreen;
    if (screen != "" && screen != "HS" && screen != "WS" && screen != "OPTIONS" && screen != "HELP" &&
        screen != "ABOUT")
      return Fail("screen \"" + screen + "\"");
    if (g_.menus.WsScroll != 0 && !in(g_.menus.WsScroll, 51, 175)) return Fail("WsScroll");
    if (!in(g_.options.SoundVolume, 0, 100)) return Fail("SoundVolume");
    if (!flag(g_.form.InGame) || !flag(g_.form.Paused)) return Fail("InGame/Paused");
    if (g_.form.Field.Width() != 300 || g_.form.Field.Height() != 300) return Fail("Field size");
  }

  std::mt19937 rnd_;
  SoakPlatform plat_;
  Game g_;
  bool copied_ = false;
  long frames_ = 0, passes_ = 0, outerPasses_ = 0;
  int cursorX_ = 150, cursorY_ = 150;
  std::vector<std::pair<int, int>> held_;
  int clickUp_ = 0, unfocused_ = 0, played_ = 0;
  bool wantNewGame_ = true, wasRunning_ = false, lucky_ = false;
  int games_ = 0, namesTyped_ = 0, pauses_ = 0;
  size_t baseHeap_ = 0, endHeap_ = 0;
  std::string failure_;
};

TEST(Soak, RandomPlayKeepsStateInRangeAndHeapFlat) {
  const long frames = SoakFrames();
  Soak soak(20261206);
  if (!soak.copied()) GTEST_SKIP() << "the build has no generated content";
  soak.Run(frames);
  std::printf("soak: %ld passes, %d games, %d pauses, %d names entered, heap %zu at game 3, %zu at the end\n",
              soak.passes(), soak.games(), soak.pauses(), soak.names(), soak.baselineHeap(), soak.endHeap());
  ASSERT_EQ(soak.failure(), "");
  EXPECT_GE(soak.passes(), frames);
  // The input reached every part it is meant to.
  EXPECT_GE(soak.games(), 3);
  EXPECT_GT(soak.pauses(), 0);
  EXPECT_GT(soak.names(), 0);
  if (soak.games() >= 3) {
    // Live memory after the second game and at the end: equal but for small change.
    const double grown = static_cast<double>(soak.endHeap()) - static_cast<double>(soak.baselineHeap());
    EXPECT_LT(grown, 512 * 1024.0) << "heap at game 3: " << soak.baselineHeap() << ", at the end: " << soak.endHeap();
  }
}

}  // namespace
}  // namespace vorlan
