// Terrain map generation (once) and the new-game set-up.
#pragma once

#include "game.h"

namespace vorlan {

void GenerateMaps(Game& g);
void NewGame(Game& g);

}  // namespace vorlan
