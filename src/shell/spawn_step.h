// Placement of enemies and sheep, once per spawn interval.
#pragma once

#include "game.h"

namespace vorlan {

void SpawnStep(Game& g);

}  // namespace vorlan
