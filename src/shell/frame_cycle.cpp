#include "shell/frame_cycle.h"

namespace vorlan {

void GameFrame(Game& g) {}
void GameTick(Game& g) {}
void GameClock(Game& g) {}

}  // namespace vorlan
