// The world table and the score-server exchange (modules TopWorldScore and FTPmod).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct WorldScoreState {
};

}  // namespace vorlan
