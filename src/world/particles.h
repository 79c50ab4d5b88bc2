// Blood and snow.
#pragma once

#include "game.h"

namespace vorlan {

// count is used up (changed in place).
void Blood(Game& g, double x, double y, double& count, double direction, int kind);
void Snow(Game& g);

}  // namespace vorlan
