// Bullets, hits and deaths, and the angle-and-distance helper.
#pragma once

#include "game.h"

namespace vorlan {

// Sets AngleResult and DistResult for the direction from (x1, y1) to (x2, y2); returns the angle.
int16_t AngleAndDistance(Game& g, double x1, double y1, double x2, double y2);
void FireBullet(Game& g, int slot);
void MoveBullets(Game& g);
void DeathCheck(Game& g, int slot);
void AimStreak(Game& g, int16_t hit);
void FireModeIcon(Game& g);

}  // namespace vorlan
