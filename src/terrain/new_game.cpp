#include "terrain/new_game.h"

namespace vorlan {

void GenerateMaps(Game& g) {}
void NewGame(Game& g) {}

}  // namespace vorlan
