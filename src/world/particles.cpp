#include "world/particles.h"

namespace vorlan {

void Blood(Game& g, double x, double y, double& count, double direction, int kind) {}
void Snow(Game& g) {}

}  // namespace vorlan
