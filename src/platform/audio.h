// The audio service: 40 sound buffers with DirectSound semantics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorlan {

// An audio buffer's content: 16-bit PCM, interleaved when stereo.
struct PcmData {
  int sampleRate = 22050;
  int channels = 2;
  std::vector<int16_t> samples;
  size_t Bytes() const { return samples.size() * 2; }
};

class Audio {
 public:
  virtual ~Audio() = default;

  // Creates (or replaces) buffer index with the given data. False on failure.
  virtual bool CreateSoundBuffer(int index, PcmData data) = 0;
  // Drops buffer index (harmless when it does not exist).
  virtual void ReleaseSoundBuffer(int index) = 0;
  // Volume in hundredths of a decibel, -10000..0; values above 0 or below -10000 are rejected.
  virtual bool SetSoundVolume(int index, int volume) = 0;
  // Pan -10000 (left) .. 10000 (right).
  virtual bool SetSoundPan(int index, int pan) = 0;
  // Play cursor in bytes from the buffer start.
  virtual bool SetSoundPosition(int index, uint32_t bytes) = 0;
  // Plays from the current position; replaying a playing buffer does not start a second voice.
  virtual bool PlaySoundBuffer(int index, bool loop) = 0;
  // Stops; the position is kept.
  virtual bool StopSoundBuffer(int index) = 0;
  // Whether buffer index is playing now.
  virtual bool SoundPlaying(int index) = 0;
};

}  // namespace vorlan
