#include "world/crates.h"

namespace vorlan {

void HealthCrates(Game& g, int16_t drop, double x, double y) {}
void AmmoCrates(Game& g, int16_t drop, double x, double y, int16_t& ammo) {}
void Acid(Game& g, int16_t drop, int slot) {}

}  // namespace vorlan
