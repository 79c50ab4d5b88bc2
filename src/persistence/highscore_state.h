// The local high-score table (module TopScoreList).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vorlan {

// Slots 0..9 are the ten places, slot 10 takes what is pushed out of tenth place.
constexpr int kHsSlots = 11;

struct HighScoreState {
  // Twelve parallel text columns, each padded to its width (the name trimmed).
  std::array<std::string, kHsSlots> HsScore, HsKills, HsTime, HsAccuracy, HsRecharge, HsBulletSpeed, HsMelee,
      HsMaxHealth, HsMaxAmmo, HsTimesPlayed, HsDate, HsName;

  int16_t NameEntryActive = 0;  // boolean: a new entry's name is being typed
  int16_t NameRow = 0;          // the slot being named
  int16_t HsLoadCounter = 0;    // load calls; the archive is read when it is 1

  bool ArchiveUnsaved = false;  // the table holds what the archive does not: saved again at the next save
  int ArchiveUnreadable = 0;    // errno of an archive that exists but cannot be read: not written this run
};

}  // namespace vorlan
