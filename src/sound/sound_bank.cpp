#include "sound/sound_bank.h"

#include <cstring>
#include <system_error>

#include "numbers.h"
#include "shell/display.h"

namespace vorlan {

namespace {

constexpr int R = -1;  // start at a fresh random offset

const SoundRow kCatalogue[] = {
    {"BulletFire.wav", 1, 0, R, false},      {"BulletFireMiss.wav", 2, -1100, R, false},
    {"Blood.wav", 3, -500, R, false},        {"Health.wav", 4, -500, R, false},
    {"Ammo.wav", 5, -500, R, false},         {"Fight.wav", 6, -1, R, false},
    {"LevelUp.wav", 7, -100, R, false},      {"Damage1.wav", 11, -600, R, false},
    {"Damage2.wav", 12, -600, R, false},     {"Damage3.wav", 13, -600, R, false},
    {"Damage4.wav", 14, -600, R, false},     {"Damage5.wav", 15, -600, R, false},
    {"Damage6.wav", 16, -600, R, false},     {"Buger.wav", 8, -600, R, false},
    {"AirPlane.wav", 9, -100, 502, false},   {"Bomb.wav", 21, -200, R, false},
    {"SnowBattle.wav", 22, -200, 506, true}, {"MouseOver.wav", 23, -1, 504, false},
    {"MenuClick.wav", 25, -1, 505, false},   {"MenuAmbient.wav", 26, -1, 505, true},
    {"Photo.wav", 24, -1, R, false},         {"AcidPickUp.wav", 27, -1, R, false},
    {"AcidBad1.wav", 28, -1, R, false},      {"AcidBad2.wav", 29, -1, R, false},
    {"AcidGood1.wav", 31, -1, R, false},     {"AcidGood2.wav", 32, -1, R, false},
    {"HighScore1.wav", 33, -1, R, false},    {"HighScore2.wav", 34, -1, R, false},
    {"HighScore3.wav", 35, -1, R, false},    {"Heart.wav", 36, 500, R, true},
    {"Alarm.wav", 37, 100, R, false},        {"BugerHit.wav", 38, 100, R, false},
    {"Sheep1.wav", 39, -900, R, false},      {"Sheep2.wav", 40, -900, R, false},
    {"Sheep3.wav", 41, -900, R, false},      {"InRow1.wav", 42, 200, R, false},
    {"InRow2.wav", 43, 200, R, false},       {"InRow3.wav", 44, 200, R, false},
    {"InRow4.wav", 45, 200, R, false},       {"ScoreMusic.wav", 46, 2, R, false},
};
constexpr int kRows = sizeof kCatalogue / sizeof kCatalogue[0];
static_assert(kRows == 40);

// Sound files larger than this are not game sounds; refusing them keeps memory bounded.
constexpr size_t kMaxWavBytes = 64u << 20;

uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t Le16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// The volume of the direct ambience control and of the volume keys: base less 0.32 dB per
// percent below full volume, in 16-bit arithmetic.
int AmbienceVolume(Game& g, int base) { return Sat16(base - Sat16((100 - g.options.SoundVolume) * 32)); }

}  // namespace

std::span<const SoundRow> SoundCatalogue() { return kCatalogue; }

const SoundRow* FindSound(int index) {
  for (const SoundRow& row : kCatalogue)
    if (row.index == index) return &row;
  return nullptr;
}

std::optional<PcmData> ParseWav(std::string_view b) {
  if (b.size() < 12 || b.size() > kMaxWavBytes) return std::nullopt;
  if (b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") return std::nullopt;
  bool haveFormat = false;
  uint16_t tag = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    std::string_view id = b.substr(at, 4);
    uint32_t size = Le32(b, at + 4);
    size_t body = at + 8;
    size_t avail = b.size() - body;
    if (id == "fmt ") {
      if (size < 16 || avail < 16) return std::nullopt;
      tag = Le16(b, body);
      channels = Le16(b, body + 2);
      rate = Le32(b, body + 4);
      bits = Le16(b, body + 14);
      // WAVE_FORMAT_EXTENSIBLE: the sub-format's first two bytes carry the real tag.
      if (tag == 0xFFFE && size >= 26 && avail >= 26) tag = Le16(b, body + 24);
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat || tag != 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
          rate < 1000 || rate > 192000)
        return std::nullopt;
      size_t len = size < avail ? size : avail;  // a truncated file keeps what it holds
      PcmData pcm;
      pcm.sampleRate = static_cast<int>(rate);
      pcm.channels = channels;
      size_t frameBytes = static_cast<size_t>(channels) * (bits / 8);
      size_t frames = len / frameBytes;
      pcm.samples.resize(frames * channels);
      for (size_t i = 0; i < pcm.samples.size(); ++i) {
        if (bits == 16)
          pcm.samples[i] = static_cast<int16_t>(Le16(b, body + 2 * i));
        else  // 8-bit samples are unsigned around 128
          pcm.samples[i] = static_cast<int16_t>((static_cast<uint8_t>(b[body + i]) - 128) << 8);
      }
      return pcm;
    }
    // Chunks are padded to an even length.
    size_t next = body + static_cast<size_t>(size) + (size & 1);
    if (next <= at || next > b.size()) break;
    at = next;
  }
  return std::nullopt;
}

void LoadSounds(Game& g) {
  // A file that is missing or not a sound leaves its buffer empty; playing it does nothing.
  for (const SoundRow& row : kCatalogue) {
    g.sound.Loaded[row.index] = false;
    std::filesystem::path file = g.PathOf(std::string("\\Sounds\\") + row.file);
    std::optional<std::string> bytes;
    std::error_code ec;
    if (!file.empty() && std::filesystem::file_size(file, ec) <= kMaxWavBytes && !ec)
      bytes = ReadWholeFile(file);
    if (bytes) {
      if (auto pcm = ParseWav(*bytes))
        g.sound.Loaded[row.index] = g.plat.CreateSoundBuffer(row.index, std::move(*pcm));
    }
    ShowProgress(g);
  }
}

void PlaySound(Game& g, int index, double position) {
  if (g.options.SoundMuted == kOptOff) return;
  if (g.options.OptMono == kOptOff) position = 500;
  double pan = position * (100.0 / 700.0) * 20 - 1000;
  const SoundRow* row = FindSound(index);
  if (!row) return;
  // Above 0 the buffer refuses the volume and keeps its previous one.
  g.plat.SetSoundVolume(index, Sat16(row->base - Sat16((100 - g.options.SoundVolume) * 32)));
  // A pan beyond the buffer's range is refused there too: the buffer keeps its previous pan.
  double p = Nearest(pan);
  if (p >= -10000 && p <= 10000) g.plat.SetSoundPan(index, static_cast<int>(p));
  uint32_t start = row->start < 0 ? static_cast<uint32_t>(Nearest(g.Rnd() * 500)) : row->start;
  g.plat.SetSoundPosition(index, start);
  g.plat.PlaySoundBuffer(index, row->loop);
}

void PlaySoundAt(Game& g, int index, double fieldX) { PlaySound(g, index, fieldX * 10 / 3); }

void ReleaseSounds(Game& g) {
  for (const SoundRow& row : kCatalogue) {
    g.plat.ReleaseSoundBuffer(row.index);
    g.sound.Loaded[row.index] = false;
  }
}

void MenuAmbienceOn(Game& g) {
  g.plat.SetSoundVolume(snd::MenuAmbient, AmbienceVolume(g, -1));
  g.plat.PlaySoundBuffer(snd::MenuAmbient, true);
}

void GameAmbienceOn(Game& g) {
  g.plat.SetSoundVolume(snd::SnowBattle, AmbienceVolume(g, -100));
  g.plat.PlaySoundBuffer(snd::SnowBattle, true);
}

void SetBufferVolume(Game& g, int index, int volume) {
  if (FindSound(index)) g.plat.SetSoundVolume(index, volume);
}

void StopSound(Game& g, int index) {
  if (FindSound(index)) g.plat.StopSoundBuffer(index);
}

}  // namespace vorlan
