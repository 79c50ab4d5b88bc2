// The help, about and options screens.
#pragma once

#include "game.h"

namespace vorlan {

void HelpScreen(Game& g);
void AboutScreen(Game& g);
void OptionsScreen(Game& g);

}  // namespace vorlan
