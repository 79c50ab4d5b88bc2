// Deterministic noise for textures and sounds: hashed value noise, fractal sums and a small
// seeded generator, so every run writes the same files.
#pragma once

#include <cmath>
#include <cstdint>

namespace content {

inline uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}
inline float Hash01(int x, int y, uint32_t seed) {
  uint32_t h =
      Hash(static_cast<uint32_t>(x) * 0x8da6b343U ^ Hash(static_cast<uint32_t>(y) * 0xd8163841U ^ seed));
  return (h & 0xFFFFFF) / float(0x1000000);
}

// Smooth value noise in [0, 1); period > 0 makes it wrap every period cells.
inline float ValueNoise(float x, float y, uint32_t seed, int period = 0) {
  int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  float fx = x - xi, fy = y - yi;
  auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
  float a = Hash01(wrap(xi), wrap(yi), seed), b = Hash01(wrap(xi + 1), wrap(yi), seed);
  float c = Hash01(wrap(xi), wrap(yi + 1), seed), d = Hash01(wrap(xi + 1), wrap(yi + 1), seed);
  float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
  return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

// Fractal sum of octaves, normalised to about [0, 1).
inline float Fbm(float x, float y, uint32_t seed, int octaves = 5, float gain = 0.5f) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + 1013u * i) * amp;
    norm += amp;
    amp *= gain;
    x *= 2.03f;
    y *= 2.03f;
  }
  return sum / norm;
}

// Small seeded generator (xorshift) for scattering details.
class Rng {
 public:
  explicit Rng(uint32_t seed) : s_(seed ? seed : 1u) {}
  uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  float Uniform() { return (Next() >> 8) / float(1 << 24); }
  float Range(float a, float b) { return a + (b - a) * Uniform(); }

 private:
  uint32_t s_;
};

}  // namespace content
