// The sound bank, synthesised: oscillators, noise, biquad filters and envelopes, finished with a
// quiet lead-in, click-free fades and a common peak level; loops are crossfaded end into start.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "content.h"
#include "noise.h"
#include "sound/sound_bank.h"

namespace content {
namespace {

constexpr int kRate = 22050;
constexpr float kPi = 3.14159265f;
constexpr float kPeak = 0.85f;     // every file peaks here (about -1.4 dBFS)
constexpr float kLeadIn = 0.012f;  // quiet start: random start offsets skip up to 5.7 ms
constexpr float kFadeIn = 0.003f;
constexpr float kFadeOut = 0.012f;

using Mono = std::vector<float>;

int Frames(float secs) { return static_cast<int>(secs * kRate); }
float Sec(int i) { return i / float(kRate); }

// RBJ biquad; coefficients may be changed while running for sweeps.
class Biquad {
 public:
  enum Kind { LowPass, HighPass, BandPass };
  Biquad(Kind k, float freq, float q) : kind_(k) { Set(freq, q); }
  void Set(float freq, float q) {
    freq = std::clamp(freq, 10.f, kRate * 0.45f);
    float w = 2 * kPi * freq / kRate, cw = std::cos(w), alpha = std::sin(w) / (2 * q);
    float a0 = 1 + alpha;
    switch (kind_) {
      case LowPass:
        b0_ = (1 - cw) / 2;
        b1_ = 1 - cw;
        b2_ = (1 - cw) / 2;
        break;
      case HighPass:
        b0_ = (1 + cw) / 2;
        b1_ = -(1 + cw);
        b2_ = (1 + cw) / 2;
        break;
      case BandPass:
        b0_ = alpha;
        b1_ = 0;
        b2_ = -alpha;
        break;
    }
    a1_ = -2 * cw;
    a2_ = 1 - alpha;
    b0_ /= a0;
    b1_ /= a0;
    b2_ /= a0;
    a1_ /= a0;
    a2_ /= a0;
  }
  float operator()(float x) {
    float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  Kind kind_;
  float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0, x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Phase-accumulating oscillator so pitch can glide without clicks.
struct Osc {
  float phase = 0;
  float Step(float freq) {
    phase += freq / kRate;
    phase -= std::floor(phase);
    return phase;
  }
  float Sine(float f) { return std::sin(2 * kPi * Step(f)); }
  float Saw(float f) { return 2 * Step(f) - 1; }
  float Square(float f, float duty = 0.5f) { return Step(f) < duty ? 1.f : -1.f; }
  float Tri(float f) {
    float p = Step(f);
    return 4 * std::fabs(p - 0.5f) - 1;
  }
};

struct Noise {
  Rng rng;
  explicit Noise(uint32_t seed) : rng(seed) {}
  float operator()() { return rng.Uniform() * 2 - 1; }
};

float Decay(float t, float tau) { return std::exp(-t / tau); }
float Attack(float t, float a) { return t < a ? t / a : 1.f; }
// Attack, hold, then exponential release.
float Env(float t, float a, float hold, float tau) {
  if (t < a) return t / a;
  if (t < a + hold) return 1.f;
  return Decay(t - a - hold, tau);
}
float NoteHz(int semitonesFromA4) { return 440.f * std::pow(2.f, semitonesFromA4 / 12.f); }

// ---- Finishing -------------------------------------------------------------------------------

void Normalise(Mono& m, float peak) {
  float mx = 0;
  for (float v : m) mx = std::max(mx, std::fabs(v));
  if (mx > 0)
    for (float& v : m) v *= peak / mx;
}

// A one-shot: DC removed, faded in and out, normalised, with the quiet lead-in before it.
Mono OneShot(Mono m) {
  float mean = 0;
  for (float v : m) mean += v;
  mean /= std::max<size_t>(1, m.size());
  for (float& v : m) v -= mean;
  int fi = Frames(kFadeIn), fo = Frames(kFadeOut), n = static_cast<int>(m.size());
  for (int i = 0; i < fi && i < n; ++i) m[i] *= i / float(fi);
  for (int i = 0; i < fo && i < n; ++i) m[n - 1 - i] *= i / float(fo);
  Normalise(m, kPeak);
  Mono out(Frames(kLeadIn), 0.f);
  out.insert(out.end(), m.begin(), m.end());
  return out;
}

// A loop of n frames from a render of n + x frames: the tail fades into the head so the end
// joins the start without a seam.
Mono Loop(const Mono& m, int n) {
  int x = static_cast<int>(m.size()) - n;
  Mono out(m.begin(), m.begin() + n);
  for (int i = 0; i < x; ++i) {
    float t = (i + 0.5f) / x;
    // Equal power: the material is noise-like, so the two halves add in power.
    out[i] = m[i] * std::sin(t * kPi / 2) + m[n + i] * std::cos(t * kPi / 2);
  }
  float mean = 0;
  for (float v : out) mean += v;
  mean /= n;
  for (float& v : out) v -= mean;
  Normalise(out, kPeak);
  return out;
}

bool WriteWav(const std::filesystem::path& file, const Mono& left, const Mono& right) {
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) f.put(static_cast<char>((v >> (8 * i)) & 255));
  };
  auto u16 = [&](uint16_t v) {
    f.put(static_cast<char>(v & 255));
    f.put(static_cast<char>(v >> 8));
  };
  uint32_t frames = static_cast<uint32_t>(left.size()), bytes = frames * 4;
  f.write("RIFF", 4);
  u32(36 + bytes);
  f.write("WAVE", 4);
  f.write("fmt ", 4);
  u32(16);
  u16(1);
  u16(2);
  u32(kRate);
  u32(kRate * 4);
  u16(4);
  u16(16);
  f.write("data", 4);
  u32(bytes);
  for (uint32_t i = 0; i < frames; ++i) {
    for (float v : {left[i], right[i]}) {
      long s = std::lround(std::clamp(v, -1.f, 1.f) * 32767.f);
      u16(static_cast<uint16_t>(static_cast<int16_t>(s)));
    }
  }
  return static_cast<bool>(f);
}

// Stereo from mono with a short delayed, filtered copy on the right for a little width.
// A loop takes its delayed copy round the loop point, a one-shot from silence before its start.
void Widen(const Mono& m, float amount, bool loop, Mono& l, Mono& r) {
  l = m;
  r = m;
  if (amount <= 0) return;
  size_t d = static_cast<size_t>(Frames(0.011f));
  Biquad lp(Biquad::LowPass, 3500, 0.7f);
  if (loop)  // run the filter over the end once so it is settled at the loop point
    for (size_t i = m.size() - std::min(m.size(), size_t(2000)); i < m.size(); ++i)
      lp(m[(i + m.size() - d) % m.size()]);
  for (size_t i = 0; i < m.size(); ++i) {
    float src = loop ? m[(i + m.size() - d) % m.size()] : (i >= d ? m[i - d] : 0.f);
    float delayed = lp(src);
    l[i] = m[i] * (1 - amount * 0.3f) + delayed * amount * 0.3f;
    r[i] = m[i] * (1 - amount * 0.3f) - delayed * amount * 0.3f;
  }
}

// A loop is turned to start where both channels change least from one sample to the next: the
// wrap then lies inside the continuous signal and steps no more than the sound itself does.
void StartAtSmoothestPoint(Mono& l, Mono& r) {
  const size_t n = l.size();
  if (n < 2) return;
  auto step = [&](size_t k) {
    size_t prev = (k + n - 1) % n;
    return std::max(std::fabs(l[k] - l[prev]), std::fabs(r[k] - r[prev]));
  };
  size_t best = 0;
  float bestStep = step(0);
  for (size_t k = 1; k < n; ++k) {
    float s = step(k);
    if (s < bestStep) {
      bestStep = s;
      best = k;
    }
  }
  std::rotate(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(best), l.end());
  std::rotate(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(best), r.end());
}

// ---- Voices ----------------------------------------------------------------------------------

// A vowel from a buzzing source through three formants; pitch(t) and amp(t) shape the cry.
struct Vowel {
  float f1, f2, f3;
};
Mono Voice(float secs, Vowel v0, Vowel v1, const std::function<float(float)>& pitch,
           const std::function<float(float)>& amp, float breath, uint32_t seed) {
  Mono m(Frames(secs));
  Osc o;
  Noise nz(seed);
  Biquad b1(Biquad::BandPass, v0.f1, 6), b2(Biquad::BandPass, v0.f2, 8), b3(Biquad::BandPass, v0.f3, 10);
  Biquad tilt(Biquad::LowPass, 2800, 0.7f);
  float jitter = 0;
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i)), k = t / secs;
    if (i % 64 == 0) {
      b1.Set(v0.f1 + (v1.f1 - v0.f1) * k, 6);
      b2.Set(v0.f2 + (v1.f2 - v0.f2) * k, 8);
      b3.Set(v0.f3 + (v1.f3 - v0.f3) * k, 10);
      jitter = jitter * 0.8f + nz() * 0.2f;
    }
    float f = pitch(t) * (1 + jitter * 0.03f);
    float src = tilt(o.Saw(f)) + nz() * breath;
    float y = b1(src) * 1.0f + b2(src) * 0.55f + b3(src) * 0.3f;
    m[i] = std::tanh(y * 2.5f) * amp(t);
  }
  return m;
}

// A bell-like note: inharmonic partials with their own decays.
float Bell(float t, float f, float tau) {
  static const float ratio[] = {1.f, 2.0f, 3.01f, 4.17f};
  static const float gain[] = {1.f, 0.45f, 0.22f, 0.12f};
  float s = 0;
  for (int k = 0; k < 4; ++k)
    s += std::sin(2 * kPi * f * ratio[k] * t) * gain[k] * Decay(t, tau / (1 + k * 0.7f));
  return s * Attack(t, 0.004f);
}

// A brassy note for fanfares: a filtered saw with a soft attack and slight vibrato.
struct Brass {
  Osc a, b;
  Biquad lp{Biquad::LowPass, 1800, 0.8f};
  float operator()(float t, float f, float len) {
    float env = Attack(t, 0.025f) * (t < len ? 1.f : Decay(t - len, 0.05f));
    float vib = 1 + 0.004f * std::sin(2 * kPi * 5.5f * t) * std::min(1.f, t * 4);
    lp.Set(900 + 2200 * env, 0.8f);
    return lp(a.Saw(f * vib) * 0.6f + b.Saw(f * 1.004f * vib) * 0.4f) * env;
  }
};

struct Note {
  float start, len;
  int pitch;  // semitones from A4
  float gain = 1.f;
};

// Plays notes on brass voices (one voice per note) into a buffer.
void PlayBrass(Mono& m, const std::vector<Note>& notes, float octaveGain = 0.f) {
  for (const Note& n : notes) {
    Brass v, w;
    int s0 = Frames(n.start), s1 = std::min<int>(static_cast<int>(m.size()), Frames(n.start + n.len + 0.35f));
    for (int i = s0; i < s1; ++i) {
      float t = Sec(i - s0);
      float y = v(t, NoteHz(n.pitch), n.len);
      if (octaveGain > 0) y += w(t, NoteHz(n.pitch - 12), n.len) * octaveGain;
      m[i] += y * n.gain * 0.35f;
    }
  }
}

void PlayBells(Mono& m, const std::vector<Note>& notes, float tau) {
  for (const Note& n : notes) {
    int s0 = Frames(n.start),
        s1 = std::min<int>(static_cast<int>(m.size()), Frames(n.start + n.len + tau * 4));
    for (int i = s0; i < s1; ++i) m[i] += Bell(Sec(i - s0), NoteHz(n.pitch), tau) * n.gain * 0.3f;
  }
}

// A drum hit: a pitched thump with a noise skin.
void Drum(Mono& m, float at, float f0, float f1, float tau, float noise, uint32_t seed) {
  Noise nz(seed);
  Osc o;
  Biquad bp(Biquad::BandPass, 1800, 0.8f);
  int s0 = Frames(at), n = Frames(tau * 6);
  for (int i = 0; i < n && s0 + i < static_cast<int>(m.size()); ++i) {
    float t = Sec(i);
    float f = f1 + (f0 - f1) * Decay(t, 0.03f);
    m[s0 + i] += (o.Sine(f) * Decay(t, tau) + bp(nz()) * noise * Decay(t, tau * 0.35f)) * 0.6f;
  }
}

// ---- The sounds ------------------------------------------------------------------------------

Mono Shot() {
  Mono m(Frames(0.42f));
  Noise nz(101);
  Osc o;
  Biquad crack(Biquad::BandPass, 2600, 0.9f), body(Biquad::LowPass, 900, 0.7f),
      tail(Biquad::LowPass, 500, 0.7f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i)), n = nz();
    float f = 55 + 120 * Decay(t, 0.025f);
    m[i] = crack(n) * 1.6f * Decay(t, 0.012f) + body(n) * 1.2f * Decay(t, 0.045f) +
           o.Sine(f) * 0.9f * Decay(t, 0.06f) + tail(n) * 0.9f * Decay(t, 0.14f) * Attack(t, 0.02f);
    m[i] = std::tanh(m[i] * 1.6f);
  }
  return m;
}

Mono Ricochet() {
  Mono m(Frames(0.45f));
  Noise nz(102);
  Osc o;
  Biquad tick(Biquad::HighPass, 3000, 0.7f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    float f = 900 + 2100 * Decay(t, 0.12f) + 60 * std::sin(2 * kPi * 23 * t);
    m[i] = o.Sine(f) * 0.6f * Env(t, 0.01f, 0.02f, 0.12f) + tick(nz()) * Decay(t, 0.01f);
  }
  return m;
}

Mono BloodSplat() {
  Mono m(Frames(0.38f));
  Noise nz(103);
  Osc o;
  Biquad lp(Biquad::LowPass, 900, 1.2f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    lp.Set(300 + 1200 * Decay(t, 0.06f), 2.0f);
    float wobble = 0.6f + 0.4f * std::sin(2 * kPi * 38 * t);
    m[i] = lp(nz()) * 1.5f * Env(t, 0.004f, 0.01f, 0.08f) * wobble +
           o.Sine(170 - 90 * t * 3) * 0.4f * Decay(t, 0.05f);
  }
  return m;
}

Mono HealthPickup() {
  Mono m(Frames(0.7f));
  PlayBells(m, {{0.0f, 0.1f, 3}, {0.07f, 0.1f, 7}, {0.14f, 0.3f, 10}, {0.14f, 0.3f, 15, 0.5f}}, 0.18f);
  return m;
}

Mono AmmoPickup() {
  Mono m(Frames(0.5f));
  Noise nz(105);
  Biquad metal(Biquad::BandPass, 3200, 6), click(Biquad::HighPass, 1500, 0.7f);
  for (float at : {0.0f, 0.11f, 0.2f}) {
    int s0 = Frames(at);
    for (int i = 0; i < Frames(0.12f) && s0 + i < static_cast<int>(m.size()); ++i) {
      float t = Sec(i), n = nz();
      m[s0 + i] += click(n) * Decay(t, 0.004f) * 1.2f + metal(n) * Decay(t, 0.03f) * 3.f;
    }
  }
  // The rattle of rounds in the box.
  for (int k = 0; k < 6; ++k) {
    int s0 = Frames(0.24f + k * 0.03f + nz() * 0.008f);
    Biquad ring(Biquad::BandPass, 4200 + 600 * nz(), 12);
    for (int i = 0; i < Frames(0.05f) && s0 + i < static_cast<int>(m.size()); ++i)
      m[s0 + i] += ring(nz()) * Decay(Sec(i), 0.012f) * 2.f;
  }
  return m;
}

Mono MeleeFight() {
  Mono m(Frames(0.75f));
  Drum(m, 0.0f, 160, 60, 0.05f, 0.8f, 106);
  Drum(m, 0.16f, 140, 55, 0.06f, 0.7f, 107);
  Drum(m, 0.34f, 180, 65, 0.05f, 0.9f, 108);
  Mono grunt = Voice(
      0.32f, {570, 840, 2410}, {640, 1190, 2390}, [](float t) { return 130 - 40 * t; },
      [](float t) { return Env(t, 0.02f, 0.08f, 0.08f); }, 0.25f, 109);
  for (size_t i = 0; i < grunt.size(); ++i) m[Frames(0.3f) + i] += grunt[i] * 0.6f;
  return m;
}

Mono LevelUpJingle() {
  Mono m(Frames(1.3f));
  PlayBrass(m, {{0.0f, 0.09f, 3},
                {0.1f, 0.09f, 7},
                {0.2f, 0.09f, 10},
                {0.3f, 0.55f, 15},
                {0.3f, 0.55f, 10, 0.6f},
                {0.3f, 0.55f, 7, 0.5f}});
  PlayBells(m, {{0.3f, 0.5f, 27, 0.4f}}, 0.25f);
  return m;
}

Mono Cry(int k) {
  // Six soldiers, six different voices: pitch, vowel and contour vary.
  struct C {
    float secs, p0, p1, breath;
    Vowel a, b;
  };
  const C c[6] = {
      {0.45f, 180, 120, 0.2f, {730, 1090, 2440}, {570, 840, 2410}},    // "ah-oh", falling
      {0.38f, 150, 210, 0.25f, {530, 1840, 2480}, {730, 1090, 2440}},  // "eh-ah", rising yelp
      {0.55f, 125, 90, 0.3f, {640, 1190, 2390}, {300, 870, 2240}},     // "uh-oo", deep groan
      {0.32f, 230, 160, 0.15f, {660, 1720, 2410}, {730, 1090, 2440}},  // short sharp "ae"
      {0.6f, 140, 100, 0.35f, {570, 840, 2410}, {640, 1190, 2390}},    // long "oh", breathy
      {0.42f, 200, 240, 0.2f, {390, 1990, 2550}, {730, 1090, 2440}},   // "ih-ah", strangled
  };
  const C& v = c[k];
  Mono m = Voice(
      v.secs, v.a, v.b,
      [&](float t) {
        float x = t / v.secs;
        return v.p0 + (v.p1 - v.p0) * x + 25 * std::sin(kPi * x) * (k % 2 ? 1.f : -0.4f);
      },
      [&](float t) { return Env(t, 0.015f, v.secs * 0.35f, v.secs * 0.25f); }, v.breath, 110 + k);
  // A thud of the hit under the cry.
  Drum(m, 0.0f, 120, 50, 0.04f, 0.6f, 120 + k);
  return m;
}

Mono CleanerMotor() {
  // A diesel chugging at a steady idle with the whirr of the brush roller, fading at the end.
  float secs = 6.0f;
  Mono m(Frames(secs));
  Osc engine, fire, brush;
  Noise nz(130);
  Biquad lp(Biquad::LowPass, 420, 1.2f), hiss(Biquad::BandPass, 2200, 1.5f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    float rpm = 24 + 0.6f * std::sin(2 * kPi * 0.7f * t);
    float p = fire.Step(rpm);
    float pulse = std::exp(-p * 7.f);
    float e = lp(engine.Saw(rpm * 3) * 0.6f + nz() * pulse * 1.4f);
    float b = hiss(nz()) * (0.45f + 0.15f * std::sin(2 * kPi * 9 * t)) + brush.Tri(180) * 0.05f;
    m[i] = (e * 1.3f + b * 0.5f) * std::min(1.f, (secs - t) / 0.8f);
  }
  return m;
}

Mono AircraftPass() {
  float secs = 2.6f;
  Mono m(Frames(secs));
  Osc prop, eng;
  Noise nz(131);
  Biquad lp(Biquad::LowPass, 1200, 0.8f), wind(Biquad::BandPass, 700, 0.8f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    // Passing overhead: louder and higher on approach, dropping in pitch as it goes.
    float x = (t - 0.9f) / 0.5f;
    float doppler = 1.f + 0.07f * std::tanh(-x);
    float loud = 1.f / (1.f + x * x * 0.35f);
    float beat = 0.65f + 0.35f * std::sin(2 * kPi * prop.Step(42 * doppler));
    float y = lp(eng.Saw(84 * doppler) + eng.Square(168 * doppler, 0.3f) * 0.3f) * beat + wind(nz()) * 0.35f;
    m[i] = y * loud * std::min(1.f, t / 0.05f + 0.4f);
  }
  return m;
}

Mono BombBlast() {
  float secs = 2.2f;
  Mono m(Frames(secs));
  Noise nz(132);
  Osc o;
  Biquad lp(Biquad::LowPass, 2000, 0.7f), rumble(Biquad::LowPass, 160, 0.9f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i)), n = nz();
    lp.Set(200 + 3500 * Decay(t, 0.08f), 0.7f);
    float boom = o.Sine(30 + 60 * Decay(t, 0.12f)) * Decay(t, 0.5f) * 1.4f;
    m[i] = std::tanh((lp(n) * 1.5f * Decay(t, 0.25f) + rumble(n) * 3.f * Decay(t, 0.7f) + boom) * 1.8f);
  }
  // Debris falling back.
  Rng rng(133);
  for (int k = 0; k < 14; ++k) {
    int s0 = Frames(0.3f + rng.Uniform() * 1.3f);
    Biquad bp(Biquad::BandPass, 900 + rng.Uniform() * 2500, 4);
    for (int i = 0; i < Frames(0.05f) && s0 + i < static_cast<int>(m.size()); ++i)
      m[s0 + i] += bp(nz()) * Decay(Sec(i), 0.01f) * 0.5f;
  }
  return m;
}

// Wind, with gusts; the base bed of both ambience loops.
void WindInto(Mono& m, uint32_t seed, float level, float centre) {
  Noise nz(seed);
  Biquad bp(Biquad::BandPass, centre, 0.9f), lp(Biquad::LowPass, 400, 0.7f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    float gust = 0.55f + 0.45f * Fbm(t * 0.6f, 0.5f, seed, 3);
    if (i % 32 == 0) bp.Set(centre * (0.7f + 0.6f * gust), 1.2f);
    m[i] += (bp(nz()) * 0.8f + lp(nz()) * 0.5f) * gust * level;
  }
}

Mono BattleAmbience(int n) {
  int x = Frames(0.6f);
  Mono m(n + x, 0.f);
  WindInto(m, 140, 0.5f, 500);
  Rng rng(141);
  Noise nz(142);
  // Distant rifle fire in short bursts, and the odd far-off explosion.
  for (int k = 0; k < 22; ++k) {
    float at = rng.Uniform() * (n / float(kRate));
    int burst = 1 + static_cast<int>(rng.Uniform() * 4);
    float gain = 0.25f + rng.Uniform() * 0.5f;
    for (int b = 0; b < burst; ++b) {
      int s0 = Frames(at + b * 0.11f);
      Biquad lp(Biquad::LowPass, 700 + rng.Uniform() * 600, 0.8f);
      for (int i = 0; i < Frames(0.3f) && s0 + i < static_cast<int>(m.size()); ++i)
        m[s0 + i] += lp(nz()) * Decay(Sec(i), 0.035f) * gain * 2.f;
    }
  }
  for (int k = 0; k < 3; ++k) {
    int s0 = Frames(0.5f + k * 2.6f + rng.Uniform());
    Biquad lp(Biquad::LowPass, 220, 0.9f);
    for (int i = 0; i < Frames(1.5f) && s0 + i < static_cast<int>(m.size()); ++i)
      m[s0 + i] += lp(nz()) * Decay(Sec(i), 0.35f) * Attack(Sec(i), 0.02f) * 3.f;
  }
  return Loop(m, n);
}

Mono MenuPad(int n) {
  // A slow, low minor drone over wind: the field at rest between battles.
  int x = Frames(1.0f);
  Mono m(n + x, 0.f);
  WindInto(m, 150, 0.25f, 350);
  const int chord[] = {-33, -26, -21, -14};  // C, G, C, G two octaves down-ish
  float secs = n / float(kRate);
  for (int c = 0; c < 4; ++c) {
    Osc a, b;
    Biquad lp(Biquad::LowPass, 600, 0.7f);
    float f = NoteHz(chord[c]);
    for (size_t i = 0; i < m.size(); ++i) {
      float t = Sec(static_cast<int>(i));
      // Swells on whole cycles of the loop so the loop point falls on the same phase.
      float swell = 0.6f + 0.4f * std::sin(2 * kPi * (t / secs) * (c % 2 + 1) + c);
      m[i] += lp(a.Saw(f) * 0.5f + b.Saw(f * 1.006f) * 0.5f) * swell * 0.25f;
    }
  }
  return Loop(m, n);
}

Mono Blip(float f, float secs, float tau) {
  Mono m(Frames(secs));
  Osc o;
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    m[i] = (o.Sine(f * (1 + 0.3f * Decay(t, 0.01f))) + 0.3f * std::sin(4 * kPi * f * t)) *
           Env(t, 0.002f, 0.0f, tau);
  }
  return m;
}

Mono Click() {
  Mono m = Blip(880, 0.16f, 0.03f);
  Noise nz(160);
  Biquad hp(Biquad::HighPass, 2500, 0.7f);
  for (int i = 0; i < Frames(0.02f); ++i) m[i] += hp(nz()) * Decay(Sec(i), 0.003f) * 0.8f;
  Mono second = Blip(1320, 0.1f, 0.025f);
  for (size_t i = 0; i < second.size(); ++i) m[Frames(0.05f) + i] += second[i] * 0.6f;
  return m;
}

Mono Shutter() {
  Mono m(Frames(0.55f));
  Noise nz(170);
  Biquad bp(Biquad::BandPass, 3800, 2.5f), bp2(Biquad::BandPass, 2200, 3);
  for (float at : {0.0f, 0.07f}) {
    int s0 = Frames(at);
    for (int i = 0; i < Frames(0.05f); ++i) m[s0 + i] += (bp(nz()) * 2.f + bp2(nz())) * Decay(Sec(i), 0.008f);
  }
  // Film winding on.
  Osc o;
  Biquad lp(Biquad::LowPass, 900, 1);
  int s0 = Frames(0.16f);
  for (int i = 0; s0 + i < static_cast<int>(m.size()); ++i) {
    float t = Sec(i);
    m[s0 + i] += lp(o.Saw(260 + 500 * t) * (0.6f + 0.4f * (nz() > 0))) * Env(t, 0.02f, 0.2f, 0.05f) * 0.4f;
  }
  return m;
}

Mono Gulp() {
  Mono m(Frames(0.6f));
  Rng rng(180);
  for (int k = 0; k < 7; ++k) {
    float at = k * 0.07f + rng.Uniform() * 0.02f, f0 = 300 + rng.Uniform() * 400;
    Osc o;
    int s0 = Frames(at);
    for (int i = 0; i < Frames(0.09f) && s0 + i < static_cast<int>(m.size()); ++i) {
      float t = Sec(i);
      m[s0 + i] += o.Sine(f0 * (1 + t * 9)) * Env(t, 0.003f, 0.01f, 0.02f) * 0.8f;
    }
  }
  return m;
}

Mono DrugBad(int k) {
  float secs = 1.1f;
  Mono m(Frames(secs));
  Osc a, b, lfo;
  Biquad lp(Biquad::LowPass, 1500, 3);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    if (k == 0) {
      // Sinking, seasick wobble.
      float f = 330 * std::pow(0.35f, t / secs) * (1 + 0.06f * std::sin(2 * kPi * 7 * t));
      m[i] = std::sin(2 * kPi * a.Step(f) + 2.5f * b.Sine(f * 1.5f)) * Env(t, 0.02f, 0.5f, 0.2f);
    } else {
      // A sour detuned chord grinding down through a sweeping filter.
      float f = 180 * std::pow(0.6f, t / secs);
      lp.Set(400 + 1800 * (0.5f + 0.5f * lfo.Sine(3)), 4);
      m[i] = lp(a.Saw(f) + b.Saw(f * 1.059f * 1.02f)) * Env(t, 0.03f, 0.5f, 0.2f);
    }
  }
  return m;
}

Mono DrugGood(int k) {
  float secs = 1.1f;
  Mono m(Frames(secs));
  if (k == 0) {
    PlayBells(m,
              {{0.0f, 0.1f, 8}, {0.08f, 0.1f, 12}, {0.16f, 0.1f, 15}, {0.24f, 0.1f, 20}, {0.32f, 0.4f, 24}},
              0.22f);
  } else {
    // A rising whoosh with sparkles on top.
    Noise nz(190);
    Biquad bp(Biquad::BandPass, 400, 2);
    for (size_t i = 0; i < m.size(); ++i) {
      float t = Sec(static_cast<int>(i));
      bp.Set(300 * std::pow(12.f, t / secs), 3);
      m[i] = bp(nz()) * Env(t, 0.3f, 0.3f, 0.15f) * 1.5f;
    }
    Rng rng(191);
    std::vector<Note> sparkles;
    for (int s = 0; s < 8; ++s)
      sparkles.push_back({0.35f + s * 0.07f, 0.05f, 24 + static_cast<int>(rng.Uniform() * 12), 0.5f});
    PlayBells(m, sparkles, 0.08f);
  }
  return m;
}

Mono HighScoreJingle(int place) {
  Mono m(Frames(2.0f));
  if (place == 0) {  // the top three: a full fanfare
    PlayBrass(m,
              {{0.0f, 0.12f, 3},
               {0.13f, 0.12f, 3},
               {0.26f, 0.12f, 3},
               {0.39f, 0.3f, 10},
               {0.72f, 0.12f, 8},
               {0.85f, 0.7f, 15},
               {0.85f, 0.7f, 10, 0.6f},
               {0.85f, 0.7f, 7, 0.5f}},
              0.4f);
    Drum(m, 0.85f, 110, 45, 0.15f, 1.f, 200);
  } else if (place == 1) {
    PlayBrass(m, {{0.0f, 0.12f, 5},
                  {0.14f, 0.12f, 8},
                  {0.28f, 0.12f, 12},
                  {0.45f, 0.6f, 17},
                  {0.45f, 0.6f, 12, 0.5f}});
  } else {
    PlayBells(m, {{0.0f, 0.15f, 5}, {0.18f, 0.15f, 9}, {0.36f, 0.5f, 12}}, 0.3f);
  }
  return m;
}

Mono ScoreTune() {
  // A short march: melody on brass, bass on the beat, snare on the off-beat.
  float beat = 0.25f;
  Mono m(Frames(16 * beat + 0.8f));
  const int melody[] = {3, 3, 7, 10, 8, 7, 5, 3, 5, 7, 8, 10, 12, 10, 15, 15};
  std::vector<Note> mel, bass;
  for (int i = 0; i < 16; ++i) mel.push_back({i * beat, beat * (i == 15 ? 2.5f : 0.8f), melody[i], 0.8f});
  const int roots[] = {-21, -21, -16, -14};
  for (int i = 0; i < 16; i += 2) bass.push_back({i * beat, beat * 1.6f, roots[(i / 4) % 4], 0.7f});
  PlayBrass(m, mel);
  PlayBrass(m, bass);
  for (int i = 0; i < 16; ++i)
    Drum(m, i * beat + (i % 2 ? 0.f : 0.f), i % 2 ? 240.f : 120.f, i % 2 ? 180.f : 50.f,
         i % 2 ? 0.03f : 0.06f, i % 2 ? 1.2f : 0.3f, 210 + i);
  return m;
}

Mono Heartbeat(int n) {
  // 80 beats a minute: lub-dub, whole beats in the loop so it never stumbles.
  Mono m(n, 0.f);
  float period = n / float(kRate) / std::round(n / float(kRate) / 0.75f);
  for (float at = 0; at < n / float(kRate) - 0.01f; at += period) {
    for (auto [off, f, g] : {std::tuple{0.f, 55.f, 1.f}, std::tuple{0.18f, 68.f, 0.65f}}) {
      Osc o;
      int s0 = Frames(at + off);
      for (int i = 0; i < Frames(0.25f); ++i) {
        float t = Sec(i);
        m[(s0 + i) % n] += o.Sine(f * (1 + 0.5f * Decay(t, 0.02f))) * Env(t, 0.008f, 0.02f, 0.05f) * g;
      }
    }
  }
  // The first beat's tail wrapped round already: end and start join by construction.
  Normalise(m, kPeak);
  return m;
}

Mono AlarmSiren() {
  float secs = 1.6f;
  Mono m(Frames(secs));
  Osc o;
  Biquad lp(Biquad::LowPass, 2500, 0.7f);
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i));
    float f = (std::fmod(t, 0.4f) < 0.2f) ? 880.f : 660.f;  // two-tone warning
    m[i] = lp(o.Square(f, 0.4f)) * Env(t, 0.01f, secs - 0.2f, 0.05f) * 0.7f;
  }
  return m;
}

Mono MetalClang() {
  Mono m(Frames(0.7f));
  Noise nz(220);
  const float partials[] = {523, 1187, 1712, 2459, 3311};
  for (size_t i = 0; i < m.size(); ++i) {
    float t = Sec(static_cast<int>(i)), s = 0;
    for (int k = 0; k < 5; ++k)
      s += std::sin(2 * kPi * partials[k] * t + k) * Decay(t, 0.25f / (1 + k * 0.5f)) / (1 + k * 0.4f);
    m[i] = s * Attack(t, 0.001f) + nz() * Decay(t, 0.006f) * 0.8f;
  }
  return m;
}

Mono Bleat(int k) {
  const float pitch[3] = {330, 420, 270}, secs[3] = {0.7f, 0.55f, 0.85f};
  Vowel a{600, 1700, 2600}, b{760, 1300, 2500};
  return Voice(
      secs[k], k == 1 ? b : a, k == 1 ? a : b,
      [&](float t) {
        // The tremble of a bleat: a fast vibrato that deepens.
        return pitch[k] * (1 + (0.03f + 0.05f * t) * std::sin(2 * kPi * (6.5f + k) * t)) *
               (1 - 0.1f * t / secs[k]);
      },
      [&](float t) {
        return Env(t, 0.04f, secs[k] * 0.5f, secs[k] * 0.15f) * (0.75f + 0.25f * std::sin(2 * kPi * 7 * t));
      },
      0.12f, 230 + k);
}

Mono KillStreak(int level) {
  Mono m(Frames(0.9f + level * 0.35f));
  std::vector<Note> notes;
  const int steps[4][6] = {
      {3, 7, 10, -99, -99, -99}, {3, 7, 10, 15, -99, -99}, {5, 8, 12, 15, 17, -99}, {3, 7, 10, 15, 19, 22}};
  float t = 0;
  for (int i = 0; i < 6 && steps[level][i] != -99; ++i) {
    bool last = i == 5 || steps[level][i + 1] == -99;
    notes.push_back({t, last ? 0.45f : 0.08f, steps[level][i] + level * 2, 1.f});
    if (last) {
      notes.push_back({t, 0.45f, steps[level][i] + level * 2 - 5, 0.6f});
      notes.push_back({t, 0.45f, steps[level][i] + level * 2 - 8, 0.5f});
    }
    t += 0.1f;
  }
  PlayBrass(m, notes, level >= 2 ? 0.3f : 0.f);
  if (level == 3)
    for (int r = 0; r < 8; ++r) Drum(m, r * 0.05f, 220, 170, 0.02f, 1.2f, 240 + r);  // snare roll
  Drum(m, t - 0.1f, 110, 45, 0.12f, 0.8f, 250 + level);
  return m;
}

}  // namespace

int WriteSounds(const std::filesystem::path& folder) {
  // Each sound's recipe and stereo width; whether it loops comes from the catalogue.
  struct Job {
    const char* file;
    std::function<Mono()> make;
    float width;
  };
  const int ambience = Frames(8.0f);
  std::vector<Job> jobs = {
      {"BulletFire.wav", Shot, 0},
      {"BulletFireMiss.wav", Ricochet, 0},
      {"Blood.wav", BloodSplat, 0},
      {"Health.wav", HealthPickup, 0.3f},
      {"Ammo.wav", AmmoPickup, 0},
      {"Fight.wav", MeleeFight, 0},
      {"LevelUp.wav", LevelUpJingle, 0.5f},
      {"Damage1.wav", [] { return Cry(0); }, 0},
      {"Damage2.wav", [] { return Cry(1); }, 0},
      {"Damage3.wav", [] { return Cry(2); }, 0},
      {"Damage4.wav", [] { return Cry(3); }, 0},
      {"Damage5.wav", [] { return Cry(4); }, 0},
      {"Damage6.wav", [] { return Cry(5); }, 0},
      {"Buger.wav", CleanerMotor, 0.2f},
      {"AirPlane.wav", AircraftPass, 0.3f},
      {"Bomb.wav", BombBlast, 0.4f},
      {"SnowBattle.wav", [&] { return BattleAmbience(ambience); }, 0.8f},
      {"MouseOver.wav", [] { return Blip(1760, 0.07f, 0.015f); }, 0},
      {"MenuClick.wav", Click, 0},
      {"MenuAmbient.wav", [&] { return MenuPad(ambience); }, 0.8f},
      {"Photo.wav", Shutter, 0},
      {"AcidPickUp.wav", Gulp, 0},
      {"AcidBad1.wav", [] { return DrugBad(0); }, 0.4f},
      {"AcidBad2.wav", [] { return DrugBad(1); }, 0.4f},
      {"AcidGood1.wav", [] { return DrugGood(0); }, 0.4f},
      {"AcidGood2.wav", [] { return DrugGood(1); }, 0.4f},
      {"HighScore1.wav", [] { return HighScoreJingle(0); }, 0.5f},
      {"HighScore2.wav", [] { return HighScoreJingle(1); }, 0.5f},
      {"HighScore3.wav", [] { return HighScoreJingle(2); }, 0.5f},
      {"Heart.wav", [] { return Heartbeat(Frames(3.0f)); }, 0},
      {"Alarm.wav", AlarmSiren, 0},
      {"BugerHit.wav", MetalClang, 0.2f},
      {"Sheep1.wav", [] { return Bleat(0); }, 0},
      {"Sheep2.wav", [] { return Bleat(1); }, 0},
      {"Sheep3.wav", [] { return Bleat(2); }, 0},
      {"InRow1.wav", [] { return KillStreak(0); }, 0.4f},
      {"InRow2.wav", [] { return KillStreak(1); }, 0.4f},
      {"InRow3.wav", [] { return KillStreak(2); }, 0.4f},
      {"InRow4.wav", [] { return KillStreak(3); }, 0.4f},
      {"ScoreMusic.wav", ScoreTune, 0.5f},
  };
  int failures = 0;
  for (const Job& j : jobs) {
    auto row = std::ranges::find_if(vorlan::SoundCatalogue(), [&](const vorlan::SoundRow& r) {
      return std::string_view(r.file) == j.file;
    });
    if (row == vorlan::SoundCatalogue().end()) {
      std::fprintf(stderr, "vorlan_content: %s has no row in the sound catalogue\n", j.file);
      ++failures;
      continue;
    }
    const bool loop = row->loop;
    Mono m = j.make();
    if (!loop) m = OneShot(std::move(m));
    Mono l, r;
    Widen(m, j.width, loop, l, r);
    if (!loop) {
      // The widening echo reaches past the fade: close both channels again.
      int fo = Frames(kFadeOut), n = static_cast<int>(l.size());
      for (int i = 0; i < fo && i < n; ++i) {
        l[n - 1 - i] *= i / float(fo);
        r[n - 1 - i] *= i / float(fo);
      }
    }
    // Widening may lift the peak a little; bring both channels back to the common level.
    float mx = 0;
    for (size_t i = 0; i < l.size(); ++i) mx = std::max({mx, std::fabs(l[i]), std::fabs(r[i])});
    if (mx > 0)
      for (size_t i = 0; i < l.size(); ++i) {
        l[i] *= kPeak / mx;
        r[i] *= kPeak / mx;
      }
    if (loop) StartAtSmoothestPoint(l, r);
    if (!WriteWav(folder / j.file, l, r)) {
      std::fprintf(stderr, "vorlan_content: cannot write %s\n", (folder / j.file).c_str());
      ++failures;
    }
  }
  for (const vorlan::SoundRow& row : vorlan::SoundCatalogue()) {
    if (std::ranges::none_of(jobs, [&](const Job& j) { return std::string_view(row.file) == j.file; })) {
      std::fprintf(stderr, "vorlan_content: no recipe makes %s\n", row.file);
      ++failures;
    }
  }
  return failures;
}

}  // namespace content
