#include "menus/menu_framework.h"

namespace vorlan {

void DrawMenuItem(Game& g, const std::string& text, int x, int y, int fontSize, bool clickable) {}
void MainMenuScreen(Game& g) {}
void MenuDecoration(Game& g) {}

}  // namespace vorlan
