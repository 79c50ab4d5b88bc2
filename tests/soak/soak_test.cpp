// The whole program on the headless platform, driven pass by pass with random keys, mouse moves
// and buttons, menu clicks, pauses, new games and typed names. Every pass checks the state's
// indexes and ranges; the live heap must not grow once the first games have been played.
// VORLAN_SOAK_FRAMES sets the length (CI runs it much longer under the sanitizers).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "numbers.h"
#include "persistence/high_scores.h"
#include "platform/key_map.h"
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
static size_t LiveHeapBytes() { return __sanitizer_get_current_allocated_bytes(); }
#elif defined(_WIN32)
#include <malloc.h>
static size_t LiveHeapBytes() {
  size_t used = 0;
  _HEAPINFO entry{};
  while (_heapwalk(&entry) == _HEAPOK)
    if (entry._useflag == _USEDENTRY) used += entry._size;
  return used;
}
#else
#include <malloc.h>
static size_t LiveHeapBytes() { return mallinfo2().uordblks; }
#endif

namespace vorlan {
namespace {

long SoakFrames() {
  const char* env = std::getenv("VORLAN_SOAK_FRAMES");
  const long n = env ? std::strtol(env, nullptr, 10) : 0;
  return n > 0 ? n : 20000;
}

// Menu items that can be clicked, by screen: (x, y) of the item's top left.
struct Item {
  const char* screen;
  int x, y;
};
constexpr Item kItems[] = {
    {"", 30, 25},         {"", 30, 50},         {"", 30, 75},         {"", 30, 100},
    {"", 30, 125},        {"", 30, 150},        {"HS", 30, 260},      {"HS", 165, 260},
    {"WS", 30, 260},      {"WS", 125, 260},     {"OPTIONS", 30, 260}, {"OPTIONS", 42, 40},
    {"OPTIONS", 42, 60},  {"OPTIONS", 42, 80},  {"OPTIONS", 42, 100}, {"OPTIONS", 42, 120},
    {"OPTIONS", 42, 140}, {"OPTIONS", 42, 160}, {"HELP", 30, 260},    {"ABOUT", 30, 260}};

// Typed texts for the name box: plain, accented, wide, broken UTF-8, control bytes, long.
const std::vector<std::string> kTexts = {
    "a",  "Zed", "\xC3\xA9t\xC3\xA9",  "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF\xFE", "\xC3", "\x01\r\n\t",
    "WP", "END", std::string(80, 'm'), "../..\\x",     "<b>&\"'",          "\x7F",     " "};

// The headless platform without a network that plays: every wait for the tick is one pass of input.
struct Soak : HeadlessPlatform {
  explicit Soak(uint32_t seed) : rnd(seed), g(*this) {
    copied = testing::CopyContent(ProgramDir());
    g.rng.Seed(seed);
  }
  void WaitPastTick(uint32_t tick) override {
    HeadlessPlatform::WaitPastTick(tick);
    Pass();
  }
  Network& Net() override { return offline; }

  // Start-up, then main-loop passes until the frames are done.
  void Run() {
    g.form.StopAfterPasses = 1;
    WindowLoad(g);
    for (long outer = 0; !g.form.Quit && failure.empty(); ++outer) {
      MainLoopPass(g);
      if (outer > frames + 1000) Fail("the main loop stopped pacing its passes");
    }
    endHeap = LiveHeapBytes();
    WindowUnload(g);
  }

  int Chance(int outOf) { return static_cast<int>(rnd() % static_cast<uint32_t>(outOf)); }
  bool OneIn(int n) { return Chance(n) == 0; }

  void Fail(const std::string& what) {
    if (failure.empty()) failure = "pass " + std::to_string(passes) + ": " + what;
    g.form.Quit = true;
  }

  void Push(Event::Type type, int button, int key = 0) {
    Event e{
        .type = type, .keyCode = key, .button = button, .x = 1.f * cursorX, .y = 1.f * cursorY, .text = {}};
    if (type == Event::Type::KeyDown || type == Event::Type::KeyUp) e.shift = Chance(8);
    PushEvent(e);
  }
  void MoveCursor(int x, int y) {
    cursorX = x, cursorY = y;
    SetCursorField(x, y);
  }
  // Presses a scan code for a few passes.
  void Hold(int scan, int passes) {
    SetKey(scan, true);
    held.push_back({scan, passes});
  }
  void Click(int x, int y) {
    MoveCursor(x, y);
    Push(Event::Type::MouseDown, 1);
    clickUp = 1 + Chance(3);
  }

  void Pass() {
    // The recording platform keeps every call: forget them, they are not the game's memory.
    audioCalls.clear();
    messageBoxes.clear();
    openedUrls.clear();
    if (++passes >= frames) {
      g.form.Quit = true;
      return;
    }
    if (std::string bad = testing::WorldOutOfRange(g) + Outside(); !bad.empty()) return Fail(bad);
    Track();
    // Keys held for their time are let go.
    std::erase_if(held, [&](auto& h) {
      if (--h.second > 0) return false;
      SetKey(h.first, false);
      return true;
    });
    if (clickUp && --clickUp == 0) Push(Event::Type::MouseUp, 1);
    if (g.hs.NameEntryActive) {
      NameEntry();
    } else if (g.form.InGame && !g.form.Paused) {
      Play();
    } else {
      Menus();
    }
    if (OneIn(40)) MoveCursor(cursorX + Chance(41) - 20, cursorY + Chance(41) - 20);
    if (OneIn(400)) MoveCursor(Chance(360) - 30, Chance(360) - 30);  // also outside the field
    if (OneIn(60)) Push(OneIn(2) ? Event::Type::KeyDown : Event::Type::KeyUp, 0, Chance(256));
    if (OneIn(3000)) Hold(dik::Add, 1 + Chance(5));
    if (OneIn(3000)) Hold(dik::Subtract, 1 + Chance(5));
    if (OneIn(900)) Hold(OneIn(2) ? dik::Up : dik::Down, 1 + Chance(30));
    if (OneIn(20000)) Hold(dik::Insert, 1);  // a screenshot now and then
    if (OneIn(5000)) {
      SetFocus(false);
      unfocused = 5 + Chance(20);
    }
    if (unfocused && --unfocused == 0) SetFocus(true);
  }

  void Play() {
    // Some games go well: their score reaches the table, and a name is typed in.
    if (++played == 1) lucky = OneIn(3);
    if (lucky && g.world.Score < 3000) g.world.Score = static_cast<int16_t>(3000 + Chance(20000));
    static constexpr int kMoves[] = {dik::W, dik::A, dik::S, dik::D, dik::Left, dik::Right};
    if (OneIn(15)) Hold(kMoves[Chance(6)], 1 + Chance(40));
    if (OneIn(25)) Push(OneIn(3) ? Event::Type::MouseUp : Event::Type::MouseDown, 1 + Chance(7));
    if (OneIn(3)) MoveCursor(cursorX + Chance(7) - 3, cursorY + Chance(7) - 3);
    if (OneIn(200)) Push(Event::Type::KeyUp, 0, OneIn(2) ? vk::Q : vk::Control);  // next fire mode
    // A pause now and then; a long game is cut short so that many games are played.
    if (OneIn(1500) || (!lucky && played > 2500 + Chance(2000))) {
      Hold(dik::Escape, 1 + Chance(3));
      ++pauses;
      if (played > 2500) wantNewGame = true;
    }
  }

  void Menus() {
    played = 0;
    const std::string& screen = g.menus.CurrentScreen;
    if (wantNewGame && !clickUp && OneIn(5)) {
      if (screen != "") return Hold(dik::Escape, 1);
      Click(30, 50);  // START NEW GAME
      wantNewGame = false;
      return;
    }
    if (OneIn(300)) Hold(dik::Return, 1 + Chance(3));
    if (g.form.Paused && OneIn(200)) Push(Event::Type::KeyDown, 0, vk::W);  // W resumes
    // No menu click while a held key (Escape, Return) may still change the screen: the click
    // would land on the next screen, where (30, 260) is EXIT GAME.
    if (!clickUp && held.empty() && OneIn(12)) {
      std::vector<const Item*> here;
      for (const Item& item : kItems)
        if (screen == item.screen) here.push_back(&item);
      if (!here.empty()) {
        const Item& item = *here[Chance(static_cast<int>(here.size()))];
        // Now and then a click just beside the item.
        Click(item.x + 4 + (OneIn(10) ? Chance(200) : 0), item.y + 6 + (OneIn(10) ? Chance(9) - 4 : 0));
      }
    }
    if (OneIn(50)) Push(Event::Type::MouseDown, 2);
    if (OneIn(50)) Push(Event::Type::MouseUp, 2);
    if (screen == "" && !g.form.InGame && OneIn(400)) wantNewGame = true;
  }

  void NameEntry() {
    if (OneIn(6))
      PushEvent({.type = Event::Type::Text, .text = kTexts[Chance(static_cast<int>(kTexts.size()))]});
    if (OneIn(20)) Push(Event::Type::KeyDown, 0, vk::Back);
    if (OneIn(150)) {
      Hold(dik::Return, 1 + Chance(2));  // Enter ends the entry
      ++names;
    }
  }

  // Games start when play begins at the clock's zero from the menu.
  void Track() {
    const bool running = g.form.InGame && !g.form.Paused;
    if (running && !wasRunning && g.timing.GameMinutes == 0 && g.timing.GameSeconds == 0 && ++games == 3)
      baseHeap = LiveHeapBytes();
    wasRunning = running;
  }

  // What lies outside the battle: the table, the name box, the screens and the options.
  std::string Outside() const {
    auto flag = [](int16_t v) { return v == kTrue || v == kFalse; };
    const auto& hs = g.hs;
    if (hs.NameRow < 0 || hs.NameRow >= kHsSlots) return "NameRow";
    if (!flag(hs.NameEntryActive)) return "NameEntryActive";
    for (const std::string& name : hs.HsName)
      if (name.size() > size_t{col::Name}) return "name longer than its column";
    if (g.form.YourName.size() > size_t{col::Name}) return "name box longer than a name";
    const std::string& screen = g.menus.CurrentScreen;
    if (screen != "" && screen != "HS" && screen != "WS" && screen != "OPTIONS" && screen != "HELP" &&
        screen != "ABOUT")
      return "screen \"" + screen + "\"";
    if (g.menus.WsScroll != 0 && (g.menus.WsScroll < 51 || g.menus.WsScroll > 175)) return "WsScroll";
    if (g.options.SoundVolume < 0 || g.options.SoundVolume > 100) return "SoundVolume";
    if (!flag(g.form.InGame) || !flag(g.form.Paused)) return "InGame/Paused";
    if (g.form.Field.Width() != 300 || g.form.Field.Height() != 300) return "Field size";
    return {};
  }

  std::mt19937 rnd;
  testing::OfflineNetwork offline;
  Game g;
  bool copied = false, wantNewGame = true, wasRunning = false, lucky = false;
  long frames = SoakFrames(), passes = 0;
  int cursorX = 150, cursorY = 150, clickUp = 0, unfocused = 0, played = 0;
  int games = 0, names = 0, pauses = 0;
  std::vector<std::pair<int, int>> held;
  size_t baseHeap = 0, endHeap = 0;
  std::string failure;
};

TEST(Soak, RandomPlayKeepsStateInRangeAndHeapFlat) {
  Soak soak(20261206);
  if (!soak.copied) GTEST_SKIP() << "the build has no generated content";
  soak.Run();
  std::printf("soak: %ld passes, %d games, %d pauses, %d names entered, heap %zu at game 3, %zu at the end\n",
              soak.passes, soak.games, soak.pauses, soak.names, soak.baseHeap, soak.endHeap);
  ASSERT_EQ(soak.failure, "");
  EXPECT_GE(soak.passes, soak.frames);
  // The input reached every part it is meant to.
  EXPECT_GE(soak.games, 3);
  EXPECT_GT(soak.pauses, 0);
  EXPECT_GT(soak.names, 0);
  // Live memory at game 3 and at the end: equal but for small change.
  if (soak.games >= 3) {
    EXPECT_LT(1.0 * soak.endHeap - 1.0 * soak.baseHeap, 512 * 1024.0);
  }
}

}  // namespace
}  // namespace vorlan
