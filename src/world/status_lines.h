// The on-field status lines and the kills-in-a-row bonus.
#pragma once

#include "game.h"

namespace vorlan {

void StatusLines(Game& g);
void KillsInRow(Game& g, int16_t kill);
int16_t IntervalElapsed(Game& g, int timer, int16_t interval);

}  // namespace vorlan
