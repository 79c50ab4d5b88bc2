// Keyed soldier files and the placement of new soldiers.
#pragma once

#include <string_view>

#include "game.h"

namespace vorlan {

// Leaves the value of key in KeyValue (unchanged when no line carries it).
void ReadKey(Game& g, std::string_view folder, std::string_view file, std::string_view key);
void SpawnFromFile(Game& g, std::string_view file);
void SpawnEnemy(Game& g);

}  // namespace vorlan
