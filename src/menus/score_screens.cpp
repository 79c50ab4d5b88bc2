#include "menus/score_screens.h"

namespace vorlan {

void HighScoreScreen(Game& g) {}
void WorldScoreScreen(Game& g) {}
void ShowResultDetails(Game& g, int slot) {}
void ShowWorldResultDetails(Game& g, int slot) {}

}  // namespace vorlan
