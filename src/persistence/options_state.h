// Settings and play statistics (stored in "\OtherFiles\Options.txt"). Flags: 0 = on, 8 = off.
#pragma once

#include <cstdint>

namespace vorlan {

// The two values of an option flag.
constexpr int16_t kOptOn = 0, kOptOff = 8;

struct OptionsState {
  int16_t OptBloodFly = 0;
  int16_t OptBloodStays = 0;
  int16_t OptBulletFly = 0;
  int16_t OptDebugInfo = 0;
  int16_t OptScoreInfo = 0;
  int16_t OptSnow = 0;
  int16_t OptMono = 0;
  int16_t SoundVolume = 0;     // percent
  int32_t PlayMinutes = 0;
  int32_t TimesPlayed = 0;
  int16_t OptFootSteps = 0;
  int16_t MapsGenerated = 0;
  int16_t OptFullScreen = 0;
  int16_t OptMovementReal = 0;
  int16_t OptAlphaBlend = 0;
  int16_t OptKillsInRow = 0;
  int16_t SoundMuted = 0;      // derived: off when SoundVolume < 1
};

}  // namespace vorlan
