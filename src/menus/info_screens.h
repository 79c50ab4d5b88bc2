// The help, about and options screens.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

void HelpScreen(Game& g);
void AboutScreen(Game& g);
void OptionsScreen(Game& g);

// Total play time as the Options screen shows it; a counter never reached stays empty.
struct PlayTimeTexts {
  std::string days, hours, minutes;
};
PlayTimeTexts PlayTime(long long playMinutes);

}  // namespace vorlan
