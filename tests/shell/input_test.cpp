#include "shell/input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "shell/display.h"
#include "sound/sound_bank.h"
#include "support/battlefield.h"

namespace vorlan::testing {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Surface* s : {&g.form.Field, &g.form.FieldShown, &g.form.MenuField}) s->Resize(300, 300);
    g.form.StatusShown.Resize(300, 78);
    g.options.SoundVolume = 50;
    InitKeyboard(g);
  }
  void Press(int code, int polls = 1) {
    plat.SetKey(code, true);
    for (int i = 0; i < polls; ++i) PollKeyboard(g);
    plat.SetKey(code, false);
  }
  int Count(int index, Op op) { return AudioCount(plat, index, op); }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(InputTest, EscapePausesOnceAndOtherwiseLeadsBackToTheMainMenu) {
  g.form.InGame = kTrue;
  g.form.Field.Fill(Rgb(200, 10, 10));
  Press(dik::Escape);
  EXPECT_EQ(g.form.Paused, kTrue);
  EXPECT_EQ(GetPixel(g.form.MenuField, 5, 5), Rgb(200, 10, 10));  // the frozen game
  EXPECT_EQ(LastAudio(plat, snd::MenuAmbient, Op::Volume).value, -1 - 50 * 32);
  EXPECT_EQ(Count(snd::MenuAmbient, Op::Play), 1);

  g.menus.CurrentScreen = "OPTIONS";
  Press(dik::Escape);  // already paused: only back to the main menu
  EXPECT_EQ(g.menus.CurrentScreen, "");
  EXPECT_EQ(Count(snd::MenuAmbient, Op::Play), 1);
  EXPECT_EQ(Count(snd::MenuClick, Op::Play), 2);
}

TEST_F(InputTest, EachInsertPressWritesOneScreenshotSkippingTakenNumbers) {
  std::ofstream(plat.ProgramDir() / "vorlan pic2.JPG") << "taken";  // names match without case
  Press(dik::Insert, 5);
  EXPECT_EQ(Count(snd::Photo, Op::Play), 1);
  PollKeyboard(g);
  Press(dik::Insert, 2);
  for (const char* shot : {"Vorlan Pic1.jpg", "Vorlan Pic3.jpg"})
    EXPECT_TRUE(std::filesystem::exists(plat.ProgramDir() / shot));
  EXPECT_FALSE(std::filesystem::exists(plat.ProgramDir() / "Vorlan Pic4.jpg"));
  EXPECT_EQ(Count(snd::Photo, Op::Play), 2);
}

TEST_F(InputTest, VolumeKeysOfKeypadAndMainKeyboardStepPerPollWithinAPercentageButNotInANameEntry) {
  Press(dik::Minus, 3);
  Press(dik::Subtract, 1);
  EXPECT_EQ(g.options.SoundVolume, 46);
  Press(dik::Equals, 2);
  Press(dik::Add, 1);
  EXPECT_EQ(g.options.SoundVolume, 49);
  EXPECT_EQ(Count(snd::BulletFire, Op::Play), 7);
  g.options.SoundVolume = 100;
  Press(dik::Equals, 2);
  EXPECT_EQ(g.options.SoundVolume, 100);
  g.hs.NameEntryActive = kTrue;  // minus and "=" are letters of the name then
  Press(dik::Minus, 2);
  EXPECT_EQ(g.options.SoundVolume, 100);
}

TEST_F(InputTest, CursorMapsIntoFieldPixelsWindowedAndFullScreen) {
  g.options.OptFullScreen = 8;
  plat.SetCursorField(0, 0);
  UpdateCursor(g);  // before any display switch
  EXPECT_EQ(std::pair(g.input.CursorX, g.input.CursorY), std::pair(0, 0));
  g.options.OptFullScreen = 0;
  SetDisplayMode(g, true);
  SetDisplayMode(g, true);  // twice: still (170, 50)
  EXPECT_EQ(std::tuple(g.form.FieldOriginX, g.form.FieldOriginY), std::tuple(170, 50));
  g.world.Soldiers[0].X = 2, g.world.Soldiers[0].Y = 24;  // centre (12, 34): the cursor straight below
  plat.SetCursorField(12, 54);
  UpdateCursor(g);
  EXPECT_EQ(std::pair(g.input.CursorX, g.input.CursorY), std::pair(12, 54));
  EXPECT_EQ(g.world.Soldiers[0].Facing, 90);
  // Told for a controller's aim.
  EXPECT_EQ(std::pair(plat.playerCentreX, plat.playerCentreY), std::pair(12.0, 34.0));
}

// Typed text and closing the window are checked through the name entry.
TEST_F(InputTest, WindowEventsSetMouseFlagsOnlyOverTheFieldAndQChangesTheFireMode) {
  auto event = [](Event::Type type, int button = 0, int key = 0, float x = 0, float y = 0) {
    return Event{.type = type, .keyCode = key, .button = button, .x = x, .y = y, .text = {}};
  };
  for (Event e : {event(Event::Type::MouseDown, 1, 0, 299, 299), event(Event::Type::MouseDown, 2),
                  event(Event::Type::MouseDown, 4, 0, 150, 300),  // over the status panel
                  event(Event::Type::MouseDown, 4, 0, -1, 100),   // in the letterbox
                  event(Event::Type::MouseDown, 4, 0, 300, 100),
                  event(Event::Type::MouseUp, 3),  // two buttons at once change nothing
                  event(Event::Type::MouseUp, 2), event(Event::Type::KeyUp, 0, 81)})
    plat.PushEvent(e);
  DoEvents(g);
  EXPECT_EQ(std::tuple(g.input.MouseLeft, g.input.MouseRight, g.input.MouseMiddle), std::tuple(kTrue, kFalse, kFalse));
  EXPECT_EQ(g.world.FireModeToggle, kTrue);  // Q released
}

}  // namespace
}  // namespace vorlan::testing
