// The end of a game whose player has died.
#pragma once

#include "game.h"

namespace vorlan {

// Shows the last status, turns the last frame into the menu background, enters the score in the
// high-score table and counts the game in the play statistics.
void EndGame(Game& g);

}  // namespace vorlan
