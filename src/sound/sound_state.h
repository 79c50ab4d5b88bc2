// The sound bank (module DirectSoundMod).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vorlan {

// Buffers are kept by their PlaySound index (1..46); slots without a sound stay unused.
constexpr int kSoundIndexLimit = 47;

struct SoundState {
  std::array<bool, kSoundIndexLimit> Loaded{};  // the buffer of that index holds its file
};

}  // namespace vorlan
