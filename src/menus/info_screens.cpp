#include "menus/info_screens.h"

namespace vorlan {

void HelpScreen(Game& g) {}
void AboutScreen(Game& g) {}
void OptionsScreen(Game& g) {}

}  // namespace vorlan
