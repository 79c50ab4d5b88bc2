#include "soldiers/soldier_files.h"

namespace vorlan {

void ReadKey(Game& g, std::string_view folder, std::string_view file, std::string_view key) {}
void SpawnFromFile(Game& g, std::string_view file) {}
void SpawnEnemy(Game& g) {}

}  // namespace vorlan
