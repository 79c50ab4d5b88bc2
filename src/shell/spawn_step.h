// Placement of enemies, the end of a game and the status panel.
#pragma once

#include "game.h"

namespace vorlan {

void SpawnStep(Game& g);
void StatusPanel(Game& g);

}  // namespace vorlan
