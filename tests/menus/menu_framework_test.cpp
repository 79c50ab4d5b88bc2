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
  struct Case { int x, y; bool over; };
  for (auto c : {Case{31, 103, true}, {61, 111, true}, {30, 105, false}, {62, 105, false}, {40, 102, false},
                 {40, 112, false}}) {
    Cursor(c.x, c.y);
    EXPECT_EQ(Over(g, "ABCD", 30, 100, 10), c.over) << c.x << "," << c.y;
  }
  // Small text on the score screens: size 8 gives h = 4 there instead of 6.
  Cursor(50, 108);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 8));
  g.menus.CurrentScreen = "HS";
  EXPECT_FALSE(Over(g, "ABCD", 30, 100, 8));
  Cursor(45, 105);
  EXPECT_TRUE(Over(g, "ABCD", 30, 100, 8));
}

TEST_F(MenuItems, HoverColoursAndMouseOverOnlyWhenTheTextChangesToAClickableItem) {
  Cursor(33, 105);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);
  DrawMenuItem(g, "PLAY", 30, 100, 10, true);  // still the same item
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
  auto options = plat.ProgramDir() / "OtherFiles" / "Options.txt";
  EXPECT_FALSE(std::filesystem::exists(options));

  DrawMenuItem(g, "FIRST", 30, 100, 10, true);
  EXPECT_EQ(g.menus.MenuClickY, 100);
  EXPECT_EQ(Plays(snd::MenuClick), 1);
  EXPECT_TRUE(std::filesystem::exists(options));
  DrawMenuItem(g, "SECOND", 30, 100, 10, true);
  EXPECT_EQ(Plays(snd::MenuClick), 1);
}

TEST_F(MainMenu, ItemsSwitchScreens) {
  for (auto [y, screen] : {std::pair{75, "HS"}, {100, "OPTIONS"}, {125, "HELP"}, {150, "ABOUT"}}) {
    g.menus.CurrentScreen = "";
    Click(30, y);
    MainMenuScreen(g);
    EXPECT_EQ(g.menus.CurrentScreen, screen);
  }
  EXPECT_EQ(g.form.Field.foreColor, kMenuPaleGreen);

  // RESUME only while paused, EXIT GAME ends the program.
  g.menus.CurrentScreen = "";
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
