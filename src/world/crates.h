// Health and ammunition crates and the acid (drug) pick-ups.
#pragma once

#include "game.h"

namespace vorlan {

void HealthCrates(Game& g, int16_t drop, double x, double y);
// ammo is the dead soldier's Ammo, changed in place.
void AmmoCrates(Game& g, int16_t drop, double x, double y, int16_t& ammo);
void Acid(Game& g, int16_t drop, int slot);
// True while the player is under any acid effect (a timer of 1 or more).
bool AnyAcidRunning(const WorldState& w);

}  // namespace vorlan
