// Start-up and main loop of the program.
#pragma once

#include "game.h"

namespace vorlan {

// The start-up sequence; ends by running MainLoop until the window closes.
void WindowLoad(Game& g);
// Runs main-loop passes until the window is closed or unloaded.
void MainLoop(Game& g);
// One pass of the main loop (after the preparation of the first pass).
void MainLoopPass(Game& g);

}  // namespace vorlan
