// The local high-score table (module TopScoreList).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct HighScoreState {
  int16_t NameEntryActive = 0;  // true while a new entry's name is typed (Escape is ignored then)
};

}  // namespace vorlan
