// Mixing of the sound buffers into one stereo stream. Runs on the audio thread of the real
// platform (the caller holds the audio lock), so nothing here allocates while mixing.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

namespace vorlan {

size_t Mixer::Voice::Frames() const {
  return data.channels > 0 ? data.samples.size() / static_cast<size_t>(data.channels) : 0;
}
uint32_t Mixer::Voice::FrameBytes() const { return static_cast<uint32_t>(2 * std::max(data.channels, 1)); }
uint32_t Mixer::Voice::PositionBytes() const {
  return static_cast<uint32_t>(static_cast<uint64_t>(frame) * FrameBytes());
}

float Mixer::Gain(int hundredthsDb) {
  if (hundredthsDb <= kMinVolume) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

void Mixer::UpdateGains(Voice& v) {
  // A pan to one side attenuates the other channel by as many hundredths of a dB.
  v.gainL = Gain(v.volume - std::max(v.pan, 0));
  v.gainR = Gain(v.volume - std::max(-v.pan, 0));
}

Mixer::Voice* Mixer::Get(int index) {
  if (index < 0 || index >= kBuffers || !voices_[index].exists) return nullptr;
  return &voices_[index];
}

bool Mixer::Create(int index, PcmData data) {
  if (index < 0 || index >= kBuffers) return false;
  if ((data.channels != 1 && data.channels != 2) || data.sampleRate < 1000 || data.sampleRate > 192000 ||
      data.samples.size() < static_cast<size_t>(data.channels) ||
      data.samples.size() / data.channels > 0x3FFFFFFFu)
    return false;
  data.samples.resize(data.samples.size() / data.channels * data.channels);
  Voice& v = voices_[index];
  v = Voice();
  v.exists = true;
  v.data = std::move(data);
  UpdateGains(v);
  return true;
}

void Mixer::Release(int index) {
  if (index >= 0 && index < kBuffers) voices_[index] = Voice();
}

bool Mixer::SetVolume(int index, int volume) {
  Voice* v = Get(index);
  if (!v || volume < kMinVolume || volume > kMaxVolume) return false;
  v->volume = volume;
  UpdateGains(*v);
  return true;
}

bool Mixer::SetPan(int index, int pan) {
  Voice* v = Get(index);
  if (!v || pan < kMinPan || pan > kMaxPan) return false;
  v->pan = pan;
  UpdateGains(*v);
  return true;
}

bool Mixer::SetPosition(int index, uint32_t bytes) {
  Voice* v = Get(index);
  if (!v || bytes >= v->data.Bytes()) return false;
  v->frame = static_cast<double>(bytes / v->FrameBytes());
  return true;
}

bool Mixer::Play(int index, bool loop) {
  Voice* v = Get(index);
  if (!v) return false;
  v->playing = true;
  v->looping = loop;
  return true;
}

bool Mixer::Stop(int index) {
  Voice* v = Get(index);
  if (!v) return false;
  v->playing = false;
  return true;
}

bool Mixer::Playing(int index) const {
  const Voice& v = State(index);
  return v.exists && v.playing;
}

const Mixer::Voice& Mixer::State(int index) const {
  if (index < 0 || index >= kBuffers) return none_;
  return voices_[index];
}

void Mixer::Mix(int16_t* out, size_t frames, int outRate) {
  if (outRate <= 0) outRate = 22050;
  constexpr size_t kChunk = sizeof(accum_) / sizeof(accum_[0]) / 2;
  while (frames > 0) {
    size_t n = std::min(frames, kChunk);
    std::fill(accum_, accum_ + 2 * n, 0);
    for (Voice& v : voices_) {
      if (!v.exists || !v.playing) continue;
      const size_t total = v.Frames();
      const int ch = v.data.channels;
      const int16_t* s = v.data.samples.data();
      const double step = static_cast<double>(v.data.sampleRate) / outRate;
      double pos = v.frame;
      for (size_t i = 0; i < n; ++i) {
        if (pos >= static_cast<double>(total)) {
          if (!v.looping) {
            v.playing = false;
            pos = 0;
            break;
          }
          pos = std::fmod(pos, static_cast<double>(total));
        }
        size_t a = static_cast<size_t>(pos);
        double t = pos - static_cast<double>(a);
        // After the last frame comes the first again when looping; a single play holds the last.
        size_t b = a + 1;
        bool bValid = true;
        if (b >= total) {
          b = 0;
          bValid = v.looping;
        }
        float l0 = s[a * ch], r0 = s[a * ch + ch - 1];
        float l1 = bValid ? s[b * ch] : l0, r1 = bValid ? s[b * ch + ch - 1] : r0;
        float l = static_cast<float>(l0 + (l1 - l0) * t), r = static_cast<float>(r0 + (r1 - r0) * t);
        accum_[2 * i] += static_cast<int32_t>(std::lrint(l * v.gainL));
        accum_[2 * i + 1] += static_cast<int32_t>(std::lrint(r * v.gainR));
        pos += step;
      }
      if (v.playing && pos >= static_cast<double>(total)) {
        if (v.looping)
          pos = std::fmod(pos, static_cast<double>(total));
        else {
          v.playing = false;
          pos = 0;
        }
      }
      v.frame = pos;
    }
    for (size_t i = 0; i < 2 * n; ++i) out[i] = static_cast<int16_t>(std::clamp(accum_[i], -32768, 32767));
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace vorlan
