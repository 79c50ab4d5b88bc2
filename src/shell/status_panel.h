// The status panel below the field.
#pragma once

#include "game.h"

namespace vorlan {

// The player's six attribute bars and the score and time line on StatusField, shown at once.
void StatusPanel(Game& g);

}  // namespace vorlan
