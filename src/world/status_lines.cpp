#include "world/status_lines.h"

namespace vorlan {

void StatusLines(Game& g) {}
void KillsInRow(Game& g, int16_t kill) {}
int16_t IntervalElapsed(Game& g, int timer, int16_t interval) { return {}; }

}  // namespace vorlan
