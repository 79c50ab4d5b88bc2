#include "shell/input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "numbers.h"
#include "platform/headless_platform.h"
#include "shell/startup.h"
#include "sound/sound_bank.h"

namespace vorlan {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g.form.Field.Resize(300, 300);
    g.form.FieldShown.Resize(300, 300);
    g.form.StatusField.Resize(300, 78);
    g.form.StatusShown.Resize(300, 78);
    g.form.MenuField.Resize(300, 300);
    g.options.SoundVolume = 50;
    InitKeyboard(g);
  }
  // Holds a key for one poll.
  void Press(int code) {
    plat.SetKey(code, true);
    PollKeyboard(g);
    plat.SetKey(code, false);
  }
  int Count(int index, Op op) {
    int n = 0;
    for (auto& c : plat.audioCalls)
      if (c.index == index && c.op == op) ++n;
    return n;
  }
  long Last(int index, Op op) {
    long v = 0;
    for (auto& c : plat.audioCalls)
      if (c.index == index && c.op == op) v = c.value;
    return v;
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(InputTest, EscapePausesARunningGameAndFreezesItAsTheMenuBackground) {
  g.form.InGame = kTrue;
  g.form.Field.Fill(Rgb(200, 10, 10));
  Press(dik::Escape);
  EXPECT_EQ(g.form.Paused, kTrue);
  EXPECT_EQ(GetPixel(g.form.MenuField, 5, 5), Rgb(200, 10, 10));  // outside the menu panel
  EXPECT_EQ(Count(snd::MenuAmbient, Op::Play), 1);
  EXPECT_EQ(Last(snd::MenuAmbient, Op::Volume), -1 - 50 * 32);
  EXPECT_EQ(Count(snd::MenuClick, Op::Play), 1);
}

TEST_F(InputTest, EscapeOnAnotherScreenDuringAPauseOnlyGoesBackToTheMainMenu) {
  g.form.InGame = kTrue;
  g.form.Paused = kTrue;
  g.menus.CurrentScreen = "OPTIONS";
  Press(dik::Escape);
  EXPECT_EQ(g.menus.CurrentScreen, "");
  EXPECT_EQ(g.form.Paused, kTrue);
  EXPECT_EQ(Count(snd::MenuAmbient, Op::Play), 0);
  EXPECT_EQ(Count(snd::MenuClick, Op::Play), 1);
}

TEST_F(InputTest, EscapeIsIgnoredWhileANameIsTyped) {
  g.menus.CurrentScreen = "HS";
  g.hs.NameEntryActive = kTrue;
  Press(dik::Escape);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
}

TEST_F(InputTest, EnterOrAMovementKeyResumesAPausedGame) {
  g.form.InGame = kTrue;
  g.form.Paused = kTrue;
  Press(dik::NumpadEnter);
  EXPECT_EQ(g.form.Paused, kFalse);
  EXPECT_EQ(Count(snd::SnowBattle, Op::Play), 1);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Volume), -100 - 50 * 32);
  EXPECT_EQ(Count(snd::MenuAmbient, Op::Stop), 1);

  // W resumes even on another screen; Enter there does not.
  g.form.Paused = kTrue;
  g.menus.CurrentScreen = "HELP";
  Press(dik::Return);
  EXPECT_EQ(g.form.Paused, kTrue);
  FieldKeyDown(g, 0x57, 0);
  EXPECT_EQ(g.form.Paused, kFalse);
  FieldKeyDown(g, 0x57, 0);  // not paused: nothing more
  EXPECT_EQ(Count(snd::SnowBattle, Op::Play), 2);
}

TEST_F(InputTest, VolumeKeysStepOncePerPollWithinZeroToHundred) {
  g.options.SoundVolume = 98;
  plat.SetKey(dik::Add, true);
  for (int i = 0; i < 5; ++i) PollKeyboard(g);
  plat.SetKey(dik::Add, false);
  EXPECT_EQ(g.options.SoundVolume, 100);
  EXPECT_EQ(Count(snd::BulletFire, Op::Play), 2);
  EXPECT_EQ(Last(snd::MenuAmbient, Op::Volume), -1);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Volume), -100);

  g.options.SoundVolume = 1;
  plat.SetKey(dik::Subtract, true);
  PollKeyboard(g);
  PollKeyboard(g);
  EXPECT_EQ(g.options.SoundVolume, 0);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Volume), -3300);
  EXPECT_EQ(g.options.SoundMuted, 0);  // only the Options screen mutes
}

TEST_F(InputTest, InsertWritesNumberedScreenshotsSkippingTakenNumbers) {
  std::ofstream(plat.ProgramDir() / "Vorlan Pic2.jpg") << "taken";
  plat.SetKey(dik::Insert, true);
  PollKeyboard(g);
  PollKeyboard(g);  // held: one more picture per poll
  plat.SetKey(dik::Insert, false);
  EXPECT_TRUE(std::filesystem::exists(plat.ProgramDir() / "Vorlan Pic1.jpg"));
  EXPECT_TRUE(std::filesystem::exists(plat.ProgramDir() / "Vorlan Pic3.jpg"));
  EXPECT_EQ(g.input.ScreenshotCounter, 3);
  EXPECT_EQ(Count(snd::Photo, Op::Play), 2);
}

TEST_F(InputTest, XQuitsOutsideARunningGameOnly) {
  g.form.InGame = kTrue;
  Press(dik::X);
  EXPECT_FALSE(g.form.Quit);
  g.form.Paused = kTrue;
  Press(dik::X);
  EXPECT_TRUE(g.form.Quit);
  EXPECT_TRUE(g.form.Unloaded);
}

TEST_F(InputTest, KeysAreIgnoredWithoutTheFocus) {
  plat.SetFocus(false);
  plat.SetKey(dik::X, true);
  plat.SetKey(dik::Insert, true);
  PollKeyboard(g);
  EXPECT_FALSE(g.form.Quit);
  EXPECT_EQ(g.input.ScreenshotCounter, 0);
  EXPECT_EQ(g.input.KeyState[dik::X], 0);
}

TEST_F(InputTest, ArrowsScrollTheWorldScoresWithinTheSlider) {
  g.menus.CurrentScreen = "WS";
  g.menus.WsScroll = 0;
  Press(dik::Up);
  EXPECT_EQ(g.menus.WsScroll, 51);
  EXPECT_DOUBLE_EQ(g.menus.WsOffset, 0);
  g.menus.WsScroll = 174;
  Press(dik::Down);
  Press(dik::Down);
  EXPECT_EQ(g.menus.WsScroll, 175);
  EXPECT_DOUBLE_EQ(g.menus.WsOffset, 90);
  g.menus.CurrentScreen = "";
  Press(dik::Up);
  EXPECT_EQ(g.menus.WsScroll, 175);
}

TEST_F(InputTest, CursorMapsIntoFieldPixelsWindowedAndFullScreen) {
  g.options.OptFullScreen = 8;
  plat.SetCursorField(0, 0);
  UpdateCursor(g);  // windowed, before any display switch
  EXPECT_EQ(g.input.CursorX, 0);
  EXPECT_EQ(g.input.CursorY, 0);
  SetDisplayMode(g, false);
  plat.SetCursorField(299, 150);
  UpdateCursor(g);
  EXPECT_EQ(g.input.CursorX, 299);
  EXPECT_EQ(g.input.CursorY, 150);
  g.options.OptFullScreen = 0;
  SetDisplayMode(g, true);
  SetDisplayMode(g, true);  // twice: still at (170, 50)
  EXPECT_EQ(g.form.FieldOriginX, 170);
  EXPECT_EQ(g.form.FieldOriginY, 50);
  plat.SetCursorField(12, 34);
  UpdateCursor(g);
  EXPECT_EQ(g.input.CursorX, 12);
  EXPECT_EQ(g.input.CursorY, 34);
}

TEST_F(InputTest, MouseFlagsFollowSingleButtonsAndKeyUpTogglesFireMode) {
  FieldMouseDown(g, 1, 0, 10, 10);
  FieldMouseDown(g, 2, 0, 10, 10);
  EXPECT_EQ(g.input.MouseLeft, kTrue);
  EXPECT_EQ(g.input.MouseRight, kTrue);
  FieldMouseUp(g, 3, 0, 10, 10);  // two buttons at once: no change
  EXPECT_EQ(g.input.MouseLeft, kTrue);
  FieldMouseUp(g, 1, 0, 10, 10);
  EXPECT_EQ(g.input.MouseLeft, kFalse);
  FieldMouseDown(g, 4, 0, 10, 10);
  EXPECT_EQ(g.input.MouseMiddle, kTrue);

  FieldKeyUp(g, 65, 0);
  EXPECT_EQ(g.world.FireModeToggle, kFalse);
  FieldKeyUp(g, 81, 0);  // Q
  EXPECT_EQ(g.world.FireModeToggle, kTrue);
}

TEST_F(InputTest, WindowEventsReachTheirHandlers) {
  Event down;
  down.type = Event::Type::MouseDown;
  down.button = 1;
  Event text;
  text.type = Event::Type::Text;
  text.text = "J\xC3\xA9";  // "Jé"
  Event close;
  close.type = Event::Type::Close;
  plat.PushEvent(down);
  plat.PushEvent(text);
  plat.PushEvent(close);
  g.hs.NameEntryActive = kTrue;  // typed text goes to the name box only then
  DoEvents(g);
  EXPECT_EQ(g.input.MouseLeft, kTrue);
  EXPECT_EQ(g.form.YourName, "J\xE9");
  EXPECT_TRUE(g.form.Quit);
}

}  // namespace
}  // namespace vorlan
