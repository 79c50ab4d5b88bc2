// The per-frame pass over all soldiers with the enemy AI.
#pragma once

#include "game.h"

namespace vorlan {

void SoldierPass(Game& g);
void MeleeExperience(Game& g, int16_t points);
void ProximityExperience(Game& g);

}  // namespace vorlan
