// The world table: merge with the local table, archive, and the HTML page.
#pragma once

#include "game.h"

namespace vorlan {

void WorldSync(Game& g);
void LoadWorldScores(Game& g);
void SaveWorldScores(Game& g);
void WriteWorldPage(Game& g);

}  // namespace vorlan
