#include "worldscores/world_table.h"

namespace vorlan {

void WorldSync(Game& g) {}
void LoadWorldScores(Game& g) {}
void SaveWorldScores(Game& g) {}
void WriteWorldPage(Game& g) {}

}  // namespace vorlan
