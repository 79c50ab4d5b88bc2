#include "menus/menu_framework.h"

#include "menu_fixture.h"
#include "sound/sound_bank.h"

namespace vorlan {
namespace {

using MenuItems = MenuFixture;
using MainMenu = MenuFixture;

bool Over(Game& g, const std::string& text, int x, int y, int size) {
  DrawMenuItem(g, text, x, y, size, true);
  return g.menus.MenuTextColor == kMenuWhite;
}

TEST_F(MenuItems, HotZoneIsEstimatedFromTheCharacterCount) {
  // "ABCD" at (30, 100), size 10: h = 8, so x in (30, 62) and y in (102, 112), all strict.
  Cursor(31, 103);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 10));
  Cursor(61, 111);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 10));
  for (auto [x, y] : {std::pair{30, 105}, {62, 105}, {40, 102}, {40, 112}}) {
    Cursor(x, y);
    EXPECT_FALSE(Over(g, "ABCD", 30, 100, 10)) << x << "," << y;
  }
  // Small text on the score screens: size 8 gives h = 4 there instead of 6.
  Cursor(50, 108);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 8));
  g.menus.CurrentScreen = "HS";
  EXPECT_FALSE(Over(g, "ABCD", 30, 100, 8));
  Cursor(45, 105);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 8));
  // An empty text is drawn and tested as "0".
  g.menus.CurrentScreen = "";
  Cursor(33, 105);
  EXPECT_TRUE(Over(g, "", 30, 100, 10));
  EXPECT_EQ(g.menus.LastHoverText, "0");
}

TEST_F(MenuItems, HoverColoursAndMouseOverOnlyWhenTheTextChangesToAClickableItem) {
  Cursor(33, 105);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);
  EXPECT_EQ(Plays(snd::MouseOver), 1);
  EXPECT_EQ(g.menus.HoverY, 100);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);  // still the same item
  Cursor(0, 0);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);  // away and back again
  EXPECT_EQ(g.menus.MenuTextColor, kMenuNavy);
  Cursor(33, 105);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);
  EXPECT_EQ(Plays(snd::MouseOver), 1);

  DrawMenuItem(g, "INFO", 30, 100, 10, false);  // not clickable: blue, silent
  EXPECT_EQ(g.menus.MenuTextColor, kMenuBlue);
  EXPECT_EQ(Plays(snd::MouseOver), 1);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);
  EXPECT_EQ(Plays(snd::MouseOver), 2);
  EXPECT_EQ(g.form.Field.foreColor, kMenuNavy);  // Field is left navy after every item
}

TEST_F(MenuItems, OnePressSelectsOneItemAndSavesTheOptions) {
  Click(30, 100);
  DrawMenuItem(g, "INFO", 30, 100, 10, false);  // a press over text that is not clickable is kept
  EXPECT_EQ(g.input.MouseLeft, kTrue);
  EXPECT_EQ(g.menus.MenuClickY, 0);
  EXPECT_FALSE(OptionsSaved());

  DrawMenuItem(g, "FIRST", 30, 100, 10, true);
  EXPECT_EQ(g.menus.MenuClickY, 100);
  EXPECT_EQ(g.input.MouseLeft, kFalse);  // consumed
  EXPECT_EQ(Plays(snd::MenuClick), 1);
  EXPECT_TRUE(OptionsSaved());
  DrawMenuItem(g, "SECOND", 30, 100, 10, true);
  EXPECT_EQ(Plays(snd::MenuClick), 1);
}

TEST_F(MainMenu, ItemsSwitchScreens) {
  const std::pair<int, const char*> items[] = {
      {75, "HS"}, {100, "OPTIONS"}, {125, "HELP"}, {150, "ABOUT"}};
  for (auto [y, screen] : items) {
    g.menus.CurrentScreen = "";
    Click(30, y);
    MainMenuScreen(g);
    EXPECT_EQ(g.menus.CurrentScreen, screen);
    EXPECT_EQ(g.menus.MenuClickY, 0);
  }
  // Field is left pale green, size 8, not bold.
  EXPECT_EQ(g.form.Field.foreColor, kMenuPaleGreen);
  EXPECT_EQ(g.form.Field.fontSize, 8);
  EXPECT_FALSE(g.form.Field.fontBold);
}

TEST_F(MainMenu, ResumeOnlyWhilePausedAndExitEndsTheProgram) {
  g.form.InGame = kTrue;
  Click(30, 25);
  MainMenuScreen(g);
  EXPECT_EQ(g.form.Paused, kFalse);
  EXPECT_EQ(g.input.MouseLeft, kTrue);  // nothing there to take the press

  g.form.Paused = kTrue;
  Click(30, 25);
  MainMenuScreen(g);
  EXPECT_EQ(g.form.Paused, kFalse);
  EXPECT_TRUE(plat.Buffer(snd::SnowBattle).looping || Plays(snd::SnowBattle) > 0);

  Click(30, 260);
  MainMenuScreen(g);
  EXPECT_TRUE(g.form.Quit);
}

}  // namespace
}  // namespace vorlan
