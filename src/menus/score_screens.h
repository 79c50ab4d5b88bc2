// The high-score and world-score screens and the details panel.
#pragma once

#include "game.h"

namespace vorlan {

void HighScoreScreen(Game& g);
void WorldScoreScreen(Game& g);
// The status panel with one result's skills, for a slot of the local or the world table.
void ShowResultDetails(Game& g, int slot);
void ShowWorldResultDetails(Game& g, int slot);
// Moves the world-score slider thumb (kept in 51..175) and the first world slot shown with it.
void SetWsScroll(Game& g, int scroll);

}  // namespace vorlan
