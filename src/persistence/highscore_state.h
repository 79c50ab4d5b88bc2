// The local high-score table (module TopScoreList).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct HighScoreState {
};

}  // namespace vorlan
