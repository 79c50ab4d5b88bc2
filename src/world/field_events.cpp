#include "world/field_events.h"

namespace vorlan {

void SheepPass(Game& g, int16_t spawn) {}
void SheepDeathCheck(Game& g, int k) {}
void Cleaner(Game& g, int16_t start) {}
void Explosion(Game& g, int16_t start, double x, double y) {}
void AirRaid(Game& g, int16_t healthDrop, int16_t ammoDrop, int16_t bomb, int16_t supplyRun) {}

}  // namespace vorlan
