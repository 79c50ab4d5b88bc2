#include "soldiers/soldier_pass.h"

namespace vorlan {

void SoldierPass(Game& g) {}
void MeleeExperience(Game& g, int16_t points) {}
void ProximityExperience(Game& g) {}

}  // namespace vorlan
