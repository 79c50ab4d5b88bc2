#include "world/bullets.h"

namespace vorlan {

int16_t AngleAndDistance(Game& g, double x1, double y1, double x2, double y2) { return {}; }
void FireBullet(Game& g, int slot) {}
void MoveBullets(Game& g) {}
void DeathCheck(Game& g, int slot) {}
void AimStreak(Game& g, int16_t hit) {}
void FireModeIcon(Game& g) {}

}  // namespace vorlan
