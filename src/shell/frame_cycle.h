// One game frame and the tick that paces every pass.
#pragma once

#include "game.h"

namespace vorlan {

// Draws one picture into Field and advances the world one step.
void GameFrame(Game& g);
// Paces the program to 30 ms per call and runs the once-per-second step.
void GameTick(Game& g);
// The once-per-second game clock: experience, clock, spawn schedule, health drift, waves.
void GameClock(Game& g);

}  // namespace vorlan
