// The bank of 40 sounds and their playback with volume, pan, start offset and loop.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "game.h"

namespace vorlan {

// Start-up: one buffer per catalogue row from "\Sounds\", one progress step each.
void LoadSounds(Game& g);
// position: 0..1000 across the field (10 / 3 x source x), 500 for no place. Taken by value: the
// mono setting plays at 500 without touching the caller's variable.
void PlaySound(Game& g, int index, double position);
// PlaySound from a place on the field: fieldX 0..300 pans from left to right.
void PlaySoundAt(Game& g, int index, double fieldX);
// Shutdown: drops every buffer.
void ReleaseSounds(Game& g);
// Direct control of the two ambience loops.
void MenuAmbienceOn(Game& g);
void GameAmbienceOn(Game& g);
// Sets a named buffer's volume, or stops it; index as for PlaySound.
void SetBufferVolume(Game& g, int index, int volume);
void StopSound(Game& g, int index);

// Reads a RIFF WAVE file held in memory: PCM, 8 or 16 bits, mono or stereo. Unknown chunks are
// skipped; a truncated data chunk keeps what is there. nullopt for anything else.
std::optional<PcmData> ParseWav(std::string_view bytes);

// One row of the sound catalogue; the generator, the build's output list and the content tests
// read these rows too.
struct SoundRow {
  const char* file;
  int index;  // PlaySound index
  int base;   // attenuation offset, hundredths of a decibel
  int start;  // start offset in bytes; -1 = a fresh nearest(rnd x 500)
  bool loop;
};
// The catalogue in load order (40 rows).
std::span<const SoundRow> SoundCatalogue();
// The row of a PlaySound index, or nullptr for an index without a sound.
const SoundRow* FindSound(int index);

// Indices of PlaySound.
namespace snd {
constexpr int BulletFire = 1, BulletFireMiss = 2, BloodHit = 3, Health = 4, Ammo = 5, Fight = 6, LevelUp = 7,
              Buger = 8, AirPlane = 9, Damage1 = 11, Bomb = 21, SnowBattle = 22, MouseOver = 23, Photo = 24,
              MenuClick = 25, MenuAmbient = 26, AcidPickUp = 27, AcidBad1 = 28, AcidBad2 = 29, AcidGood1 = 31,
              AcidGood2 = 32, HighScore1 = 33, HighScore2 = 34, HighScore3 = 35, Heart = 36, Alarm = 37,
              BugerHit = 38, Sheep1 = 39, Sheep2 = 40, Sheep3 = 41, InRow1 = 42, InRow2 = 43, InRow3 = 44,
              InRow4 = 45, ScoreMusic = 46;
}  // namespace snd

}  // namespace vorlan
