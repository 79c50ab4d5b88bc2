// The sound bank (module DirectSoundMod).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct SoundState {
};

}  // namespace vorlan
