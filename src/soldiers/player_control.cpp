#include "soldiers/player_control.h"

namespace vorlan {

void PlayerControl(Game& g) {}

}  // namespace vorlan
