// The world table and the score-server exchange (modules TopWorldScore and FTPmod).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct WorldScoreState {
  int16_t Connected = 0;  // set by CheckConnection; also the online flag of the progress display
};

}  // namespace vorlan
