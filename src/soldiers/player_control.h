// The player's own control: walking, shooting, fire modes and bomb requests.
#pragma once

#include "game.h"

namespace vorlan {

void PlayerControl(Game& g);

}  // namespace vorlan
