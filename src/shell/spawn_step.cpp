#include "shell/spawn_step.h"

namespace vorlan {

void SpawnStep(Game& g) {}
void StatusPanel(Game& g) {}

}  // namespace vorlan
