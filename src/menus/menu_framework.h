// Immediate-mode menu items, the main menu and the blood decoration under the menus.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

// Menu colours (COLORREF 0x00BBGGRR).
constexpr Color kMenuNavy = 0x800000;
constexpr Color kMenuWhite = 0xFFFFFF;
constexpr Color kMenuBlue = 0xFF0000;
constexpr Color kMenuPaleGreen = 0xC0FFC0;

// Draws one item at (x, y) on Field and reacts to the cursor: highlight, MouseOver sound,
// click (MenuClickY = y, the button consumed, options saved). An empty text is drawn as "0".
// True while the click stands at this item's y (MenuClickY == y). With hotLeft the item also
// answers from that x on (a check box left of its text).
bool DrawMenuItem(Game& g, const std::string& text, int x, int y, int fontSize, bool clickable, int hotLeft = -1);
// The hit test of an item; y is the item's y + 2 and h its font size - 2. May change text.
void MenuHitTest(Game& g, int x, int y, std::string& text, int h, bool clickable, int hotLeft = -1);
void MainMenuScreen(Game& g);
void MenuDecoration(Game& g);
// MAIN MENU was clicked: back to the main menu. The click is forgotten, or the main menu's
// EXIT GAME at the same y would take it on the next pass once the cursor has moved away.
void LeaveScreen(Game& g);
// The small title picture and the state every screen leaves on Field.
void DrawScreenTitle(Game& g);

}  // namespace vorlan
