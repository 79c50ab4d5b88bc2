// The options and play statistics file "\OtherFiles\Options.txt".
#pragma once

#include "game.h"

namespace vorlan {

// save false reads the 16 lines, save true writes them.
void OptionsFile(Game& g, bool save);

}  // namespace vorlan
