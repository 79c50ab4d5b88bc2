// The sound mixer behind the game's 40 sound buffers: one voice per buffer, volume in hundredths
// of a decibel, the usual stereo pan law, a byte play cursor, play once or looping. Pure code: the
// SDL audio callback and the headless platform's offline mix both drive it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace vorlan {

class Mixer {
 public:
  static constexpr int kBuffers = 64;
  static constexpr int kMinVolume = -10000, kMaxVolume = 0;
  static constexpr int kMinPan = -10000, kMaxPan = 10000;

  struct Voice {
    bool exists = false, playing = false, looping = false;
    int volume = 0, pan = 0;  // hundredths of a dB
    double frame = 0;         // play cursor in frames of the buffer, with the resampling fraction
    PcmData data;
    float gainL = 1, gainR = 1;
    size_t Frames() const;
    uint32_t FrameBytes() const;
    // The play cursor in bytes, on a frame boundary.
    uint32_t PositionBytes() const;
  };

  // Creates or replaces a buffer. False for a bad index or unusable data (no samples, not mono
  // or stereo, a rate outside 1000..192000 Hz).
  bool Create(int index, PcmData data);
  void Release(int index);
  // -10000..0; anything else is refused and the buffer keeps its volume.
  bool SetVolume(int index, int volume);
  // -10000..10000; anything else is refused.
  bool SetPan(int index, int pan);
  // Moves the play cursor (aligned down to a frame); positions past the end are refused.
  bool SetPosition(int index, uint32_t bytes);
  // Starts from the current position; a playing buffer keeps its one voice and only takes the
  // new looping flag.
  bool Play(int index, bool loop);
  // Stops, keeping the position.
  bool Stop(int index);
  bool Playing(int index) const;
  // The buffer's state; an empty voice for a bad index.
  const Voice& State(int index) const;

  // Adds frames of 16-bit stereo at outRate Hz into out (overwriting it), advancing every
  // playing voice. A once-played voice that reaches its end stops with its position back at 0.
  void Mix(int16_t* out, size_t frames, int outRate);

  // Linear gain of a volume in hundredths of a dB (0 at -10000 and below).
  static float Gain(int hundredthsDb);

 private:
  Voice* Get(int index);
  static void UpdateGains(Voice& v);
  Voice voices_[kBuffers];
  Voice none_;
  int32_t accum_[2 * 1024] = {};
};

}  // namespace vorlan
