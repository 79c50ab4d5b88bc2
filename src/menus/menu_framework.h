// Immediate-mode menu items, the main menu and the blood decoration under the menus.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

void DrawMenuItem(Game& g, const std::string& text, int x, int y, int fontSize, bool clickable);
void MainMenuScreen(Game& g);
void MenuDecoration(Game& g);

}  // namespace vorlan
