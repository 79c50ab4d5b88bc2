#include "menus/name_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "numbers.h"
#include "persistence/high_score_fixture.h"
#include "platform/key_map.h"
#include "shell/display.h"
#include "shell/input.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using namespace vorlan::testing;

using NameEntry = HighScores;

TEST_F(NameEntry, NewScoreStartsTheEntryAndTakesTheProofPicture) {
  LoadTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.menus.CurrentScreen, "");
  HighScoreCheck(g, 50);  // equals tenth, the eleventh is empty (0): only the screen changes
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
  EXPECT_FALSE(fs::exists(UploadList()));

  g.world.Soldiers[0].Date = "20261206";
  HighScoreCheck(g, 500);
  EXPECT_EQ(g.hs.NameEntryActive, kTrue);
  EXPECT_EQ(g.hs.NameRow, 5);
  EXPECT_EQ(Num(g.hs.HsScore[5]), 500);
  EXPECT_TRUE(fs::exists(plat.ProgramDir() / "Upload" / "500020261206.jpg"));
  auto list = ReadLines(UploadList());
  ASSERT_TRUE(list);
  EXPECT_EQ(list->back(), "500020261206.jpg");
}

TEST_F(NameEntry, TypesCasesAndSaves) {
  LoadTable({900});
  HighScoreCheck(g, 100);
  ASSERT_EQ(g.hs.NameRow, 1);
  // Typed through the window: text events, then Backspace removes the x.
  for (const char* t : {"jOHN\r\n", "x"}) plat.PushEvent({.type = Event::Type::Text, .text = t});
  plat.PushEvent({.type = Event::Type::KeyDown, .keyCode = vk::Back, .text = {}});
  DoEvents(g);
  HighScoreCheck(g, 0);  // one entry step
  EXPECT_TRUE(plat.textInput);
  EXPECT_EQ(g.hs.HsName[1], "John");

  // A game ending during the entry adds nothing.
  HighScoreCheck(g, 5000);
  EXPECT_EQ(Num(g.hs.HsScore[0]), 900);

  NameEntryTyped(g, "\xC3\xA9mile");  // UTF-8 é becomes one byte, then upper case
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[1], "John\xE9mile");

  // Enter held while another window has the focus is not the player's.
  plat.SetFocus(false);
  plat.SetKey(dik::Return, true);
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.NameEntryActive, kTrue);
  plat.SetFocus(true);
  plat.SetKey(dik::Return, true);
  HighScoreCheck(g, 0);
  EXPECT_FALSE(plat.textInput);
  EXPECT_EQ(SavedName(1), "John\xE9mile");

  // An empty name is stored as "I'm stupid".
  plat.SetKey(dik::Return, false);
  HighScoreCheck(g, 50);
  plat.SetKey(dik::Return, true);
  HighScoreCheck(g, 0);
  EXPECT_EQ(g.hs.HsName[2], "I'm stupid");
}

TEST_F(NameEntry, KeysTypeTheNameOnlyAndClosingTheWindowKeepsTheResult) {
  LoadTable({900});
  HighScoreCheck(g, 100);
  InitKeyboard(g);
  g.options.SoundVolume = 50;
  g.form.Paused = kTrue;  // as if a game were paused behind the entry: W still resumes nothing
  for (int key : {dik::X, dik::Add, dik::Escape}) plat.SetKey(key, true);
  PollKeyboard(g);
  for (int key : {dik::X, dik::Add, dik::Escape}) plat.SetKey(key, false);
  plat.PushEvent({.type = Event::Type::Text, .text = "maxq+-"});
  for (int key : {vk::Q, vk::Control, vk::W}) {
    plat.PushEvent({.type = Event::Type::KeyDown, .keyCode = key, .text = {}});
    plat.PushEvent({.type = Event::Type::KeyUp, .keyCode = key, .text = {}});
  }
  plat.PushEvent({.type = Event::Type::Close, .text = {}});
  DoEvents(g);
  EXPECT_EQ(g.options.SoundVolume, 50);
  EXPECT_EQ(g.world.FireModeToggle, kFalse);
  EXPECT_EQ(g.form.Paused, kTrue);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
  ASSERT_TRUE(g.form.Quit);
  WindowUnload(g);  // the window closed before Enter
  EXPECT_EQ(SavedName(1), "Maxq+-");
  EXPECT_EQ(g.hs.NameEntryActive, kFalse);
}

}  // namespace
}  // namespace vorlan
