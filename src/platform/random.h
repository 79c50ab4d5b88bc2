// The game's random source: the classic 24-bit linear congruential generator of Rnd, one per game.
#pragma once

#include <cstdint>

namespace vorlan {

class Random {
 public:
  explicit Random(uint32_t seed = 0x50000) : state_(seed & 0xFFFFFF) {}
  // rnd: uniform in [0, 1), drawn afresh at every call.
  double Rnd() {
    ++draws_;
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<double>(state_) / 16777216.0;
  }
  // Reseeds from a timer value (seconds since midnight), mixing its bits into the state.
  void Randomize(double timer) {
    float f = static_cast<float>(timer);
    uint32_t bits;
    static_assert(sizeof bits == sizeof f);
    __builtin_memcpy(&bits, &f, sizeof bits);
    uint32_t mixed = ((bits & 0xFFFF) ^ (bits >> 16)) << 8;
    state_ = (state_ & 0xFF0000FFu) | (mixed & 0x00FFFF00u);
    state_ &= 0xFFFFFFu;
  }
  void Seed(uint32_t seed) { state_ = seed & 0xFFFFFF; }
  uint32_t State() const { return state_; }
  // How many numbers were drawn since construction.
  uint64_t Draws() const { return draws_; }

 private:
  uint32_t state_;
  uint64_t draws_ = 0;
};

}  // namespace vorlan
