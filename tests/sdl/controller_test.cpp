// A game controller on the real SDL platform: a virtual pad, known to SDL through a mapping of its
// own, drives the platform in a real X server, and the game's own input code reads the result.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <tuple>

#include "game.h"
#include "numbers.h"
#include "platform/key_map.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_virtual_pad.h"
#include "shell/display.h"
#include "shell/input.h"

namespace vorlan {
namespace {

using Button = SDL_GameControllerButton;

class ControllerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    platform_ = MakeSdlPlatform("vorlan_sdl_tests").release();
    ASSERT_NE(platform_, nullptr);
    // Without a window manager the window gets the keyboard only when asked.
    for (Uint32 id = 1; id < 16 && !window_; ++id) window_ = SDL_GetWindowFromID(id);
    ASSERT_NE(window_, nullptr);
    for (int i = 0; i < 200 && !platform_->HasFocus(); ++i) {
      SDL_SetWindowInputFocus(window_);
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    ASSERT_TRUE(platform_->HasFocus());
  }
  static void TearDownTestSuite() {
    delete platform_;
    platform_ = nullptr;
  }

  void SetUp() override {
    g_ = std::make_unique<Game>(*platform_);
    g_->input.KeyboardReady = true;
    g_->form.FieldOriginSet = kTrue;
    g_->form.FieldOriginX = 4;
    g_->form.FieldOriginY = 23;
    PlayerAt(140, 140);
    platform_->ClipCursor(false);
    platform_->SetTextInput(false);
    ASSERT_TRUE(pad_.Attach());
    Frames(3);
  }
  void TearDown() override {
    pad_.Detach();
    Frames(3);
    platform_->ClipCursor(false);
    platform_->SetTextInput(false);
  }

  // What the game does with its input in a frame: cursor, keyboard, window events.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      UpdateCursor(*g_);
      ReadKeyState(*g_);
      DoEvents(*g_);
      SDL_Delay(8);
    }
  }
  void Press(Button b, bool down = true) {
    pad_.SetButton(b, down);
    Frames(2);
  }
  void Tap(Button b) {
    Press(b);
    Press(b, false);
  }
  void Stick(SDL_GameControllerAxis x, int vx, int vy) {
    pad_.SetAxis(x, vx);
    pad_.SetAxis(static_cast<SDL_GameControllerAxis>(x + 1), vy);
    Frames(2);
  }
  void PlayerAt(float x, float y) {
    g_->world.Soldiers[0].X = x;  // its centre is 10 pixels further on
    g_->world.Soldiers[0].Y = y;
  }
  bool Key(int dik) const { return g_->input.KeyState[dik] != 0; }
  std::pair<bool, bool> EscapeAndEnter() const { return {Key(dik::Escape), Key(dik::Return)}; }
  std::pair<int, int> Cursor() const { return {g_->input.CursorX, g_->input.CursorY}; }
  int Arrows() const { return Key(dik::Left) + 2 * Key(dik::Right) + 4 * Key(dik::Up) + 8 * Key(dik::Down); }
  // Puts the mouse on a Field pixel (window scale 1 is not assumed). SDL moves no mouse confined
  // to the field.
  void MouseTo(int fx, int fy) {
    int w, h;
    SDL_GetWindowSize(window_, &w, &h);
    SDL_WarpMouseInWindow(window_, (fx + 0.5) * w / 300, (fy + 0.5) * h / 378);
    Frames(3);
  }

  static inline Platform* platform_ = nullptr;
  static inline SDL_Window* window_ = nullptr;
  std::unique_ptr<Game> g_;
  VirtualPad pad_;
};

constexpr int kLeft = 1, kRight = 2, kUp = 4, kDown = 8;

TEST_F(ControllerTest, InAGameTheLeftStickWalksAndTheRightStickAimsAroundThePlayer) {
  platform_->ClipCursor(true);
  // Inside the dead zone nothing; mostly right is right; diagonals are two keys.
  const std::tuple<int, int, int> pushes[] = {{7000, 0, 0},
                                              {32767, -7000, kRight},
                                              {-23000, -23000, kUp | kLeft},
                                              {12000, 12000, kDown | kRight},
                                              {0, 0, 0}};
  for (auto [x, y, keys] : pushes) {
    Stick(SDL_CONTROLLER_AXIS_LEFTX, x, y);
    EXPECT_EQ(Arrows(), keys) << x << ", " << y;
  }
  Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(Arrows(), kDown);
  Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);

  PlayerAt(90, 90);  // centre (100, 100)
  Stick(SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0);
  EXPECT_EQ(Cursor(), std::pair(180, 100));
  EXPECT_EQ(g_->world.Soldiers[0].Facing, 0);
  Stick(SDL_CONTROLLER_AXIS_RIGHTX, -20000, -20000);
  EXPECT_EQ(Cursor(), std::pair(43, 43));  // 80 / sqrt(2) up and to the left
  EXPECT_EQ(Arrows(), 0) << "the right stick walks nowhere";
  // Let go: the cursor stays, even as the player walks on.
  Stick(SDL_CONTROLLER_AXIS_RIGHTX, 3000, -2000);
  PlayerAt(150, 120);
  Frames(2);
  EXPECT_EQ(Cursor(), std::pair(43, 43));
  // The aim never leaves the field.
  PlayerAt(250, 100);
  Stick(SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0);
  EXPECT_EQ(Cursor(), std::pair(299, 110));
  Stick(SDL_CONTROLLER_AXIS_RIGHTX, 0, 0);

  // The mouse takes the cursor back by moving.
  platform_->ClipCursor(false);
  MouseTo(20, 30);
  EXPECT_EQ(Cursor(), std::pair(20, 30));
}

TEST_F(ControllerTest, InTheMenusEitherStickMovesTheCursorFasterWhenPushedFurther) {
  MouseTo(20, 150);
  auto speed = [&](SDL_GameControllerAxis stick, int push) {
    const int x0 = g_->input.CursorX;
    const auto t0 = std::chrono::steady_clock::now();
    Stick(stick, push, 0);
    Frames(25);
    Stick(stick, 0, 0);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return (g_->input.CursorX - x0) / s;
  };
  const double slow = speed(SDL_CONTROLLER_AXIS_LEFTX, 16000),
               fast = speed(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
  EXPECT_GT(slow, 5);
  EXPECT_GT(fast, 3 * slow);
  EXPECT_LT(fast, 400);
  EXPECT_EQ(Arrows(), 0) << "in the menus the left stick is no arrow key";
  EXPECT_NEAR(g_->input.CursorY, 150, 1);
  // Up to the field's edge and no further.
  Stick(SDL_CONTROLLER_AXIS_LEFTX, 0, -32767);
  Frames(100);
  Stick(SDL_CONTROLLER_AXIS_LEFTX, 0, 0);
  EXPECT_EQ(g_->input.CursorY, 0);
  // A in the menus clicks where the stick left the cursor.
  const int x = g_->input.CursorX;
  Press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(g_->input.MouseLeft, kTrue);
  EXPECT_EQ(g_->input.CursorX, x);
  Press(SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_EQ(g_->input.MouseLeft, kFalse);
}

TEST_F(ControllerTest, TriggersAndButtonsAreMouseButtonsAndKeys) {
  platform_->ClipCursor(true);
  InputState& in = g_->input;
  pad_.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 6000);  // a resting finger
  Frames(2);
  EXPECT_EQ(in.MouseLeft, kFalse);
  // Each holds its mouse button down for as long as it is held.
  auto trigger = [&](SDL_GameControllerAxis a) {
    return [&, a](bool down) {
      pad_.SetAxis(a, down ? 30000 : 0);
      Frames(2);
    };
  };
  auto button = [&](Button b) { return [&, b](bool down) { Press(b, down); }; };
  const std::pair<std::function<void(bool)>, const int16_t*> holds[] = {
      {trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT), &in.MouseLeft},
      {button(SDL_CONTROLLER_BUTTON_A), &in.MouseLeft},
      {trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT), &in.MouseRight},
      {button(SDL_CONTROLLER_BUTTON_X), &in.MouseMiddle}};
  for (const auto& [hold, flag] : holds) {
    hold(true);
    EXPECT_EQ(*flag, kTrue);
    hold(false);
    EXPECT_EQ(*flag, kFalse);
  }

  // The fire mode changes when the shoulder is let go, as with Q.
  Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  EXPECT_EQ(g_->world.FireModeToggle, kFalse);
  Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
  EXPECT_EQ(g_->world.FireModeToggle, kTrue);

  for (auto [b, key] : {std::pair{SDL_CONTROLLER_BUTTON_B, dik::Escape},
                        std::pair{SDL_CONTROLLER_BUTTON_BACK, dik::Insert}}) {
    Press(b);
    EXPECT_TRUE(Key(key));
    Press(b, false);
    EXPECT_FALSE(Key(key));
  }

  // Start pauses a running game; on the menus it is Enter, and stays Enter while held even when
  // the game it started is running.
  Press(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(EscapeAndEnter(), std::pair(true, false));
  Press(SDL_CONTROLLER_BUTTON_START, false);
  platform_->ClipCursor(false);
  Press(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(EscapeAndEnter(), std::pair(false, true));
  platform_->ClipCursor(true);
  Frames(2);
  EXPECT_EQ(EscapeAndEnter(), std::pair(false, true));
  Press(SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_EQ(EscapeAndEnter(), std::pair(false, false));
}

TEST_F(ControllerTest, APadPulledOutInAGameLetsGoOfItsButtonsAndPausesOnePluggedInWorksAtOnce) {
  platform_->ClipCursor(true);
  pad_.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  Stick(SDL_CONTROLLER_AXIS_LEFTX, -32767, 0);
  ASSERT_EQ(g_->input.MouseLeft, kTrue);
  ASSERT_EQ(Arrows(), kLeft);
  pad_.Detach();
  Frames(1);
  EXPECT_EQ(g_->input.MouseLeft, kFalse);
  EXPECT_EQ(Arrows(), 0);
  EXPECT_TRUE(Key(dik::Escape)) << "pulled out in a game: paused as by Escape";
  Frames(1);
  EXPECT_FALSE(Key(dik::Escape)) << "once, not held";

  ASSERT_TRUE(pad_.Attach());
  Frames(2);
  Press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(g_->input.MouseLeft, kTrue);
  Press(SDL_CONTROLLER_BUTTON_A, false);

  // In the menus there is nothing to pause.
  platform_->ClipCursor(false);
  pad_.Detach();
  Frames(1);
  EXPECT_FALSE(Key(dik::Escape));
}

TEST_F(ControllerTest, TheDPadWritesTheNameIntoTheNameBox) {
  platform_->ClipCursor(false);
  g_->hs.NameEntryActive = kTrue;
  platform_->SetTextInput(true);
  const std::string& box = g_->form.YourName;
  constexpr Button up = SDL_CONTROLLER_BUTTON_DPAD_UP, down = SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                   right = SDL_CONTROLLER_BUTTON_DPAD_RIGHT, left = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
  // Down from A runs round through space to the digits.
  const std::pair<Button, const char*> steps[] = {{up, "A"},   {up, "B"},     {down, "A"},  {down, " "},
                                                  {down, "9"}, {right, "9A"}, {down, "9 "}, {left, "9"}};
  for (auto [b, name] : steps) {
    Tap(b);
    EXPECT_EQ(box, name);
    EXPECT_EQ(Arrows(), 0) << "while a name is typed the D-pad is no arrow key";
  }
  // A letter typed on the keyboard is the letter under the caret.
  SDL_Event typed{};
  typed.type = SDL_TEXTINPUT;
  SDL_strlcpy(typed.text.text, "k", sizeof typed.text.text);
  SDL_PushEvent(&typed);
  Frames(1);
  Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(box, "9l");
  // Held, the letters run on.
  Press(SDL_CONTROLLER_BUTTON_DPAD_UP);
  Frames(100);
  Press(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  EXPECT_EQ(box.size(), 2u);
  EXPECT_GT(box[1], 'o');
  // No longer than the name column.
  for (int i = 0; i < 40; ++i) Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(box.size(), 35u);
  Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(box.substr(33), "AB");

  // A and Start end the entry as Enter.
  for (Button b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_START}) {
    Press(b);
    EXPECT_EQ(std::pair(Key(dik::Return), g_->input.MouseLeft), std::pair(true, kFalse));
    Press(b, false);
  }
}

TEST_F(ControllerTest, RumbleIsShortAndStrongerForABlastThanForAHit) {
  platform_->Rumble(PlayerFeedback::Jolt::Hit);
  ASSERT_EQ(pad_.rumbles.size(), 1u);
  const auto hit = pad_.rumbles[0];
  EXPECT_GT(hit.second, 0);
  Frames(30);  // well past its end
  ASSERT_EQ(pad_.rumbles.size(), 2u);
  EXPECT_EQ(pad_.rumbles[1], std::make_pair(0, 0));

  platform_->Rumble(PlayerFeedback::Jolt::Blast);
  ASSERT_EQ(pad_.rumbles.size(), 3u);
  EXPECT_GT(pad_.rumbles[2].first + pad_.rumbles[2].second, hit.first + hit.second);
  platform_->Rumble(PlayerFeedback::Jolt::Hit);
  EXPECT_EQ(pad_.rumbles.size(), 3u) << "a hit does not cut a blast short";
  Frames(50);
  EXPECT_EQ(pad_.rumbles.back(), std::make_pair(0, 0));
}

}  // namespace
}  // namespace vorlan
