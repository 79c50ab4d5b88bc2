// The local high-score table, its name entry and its scrambled archive. The record line and
// ScrambleText are shared with the world table and the content generator.
#pragma once

#include <string>
#include <string_view>

#include "game.h"

namespace vorlan {

// The key byte of every score archive.
constexpr int kScrambleKey = 0x5A;

// One result as held in a score table: every column is text padded to its width, the name trimmed.
struct ScoreRecord {
  std::string Score, Kills, Time, Accuracy, Recharge, BulletSpeed, Melee, MaxHealth, MaxAmmo,
      TimesPlayed, Date, Name;
  bool operator==(const ScoreRecord&) const = default;
};

// Column widths of the record line.
namespace col {
constexpr int Score = 5, Kills = 3, Time = 5, Accuracy = 2, Recharge = 2, BulletSpeed = 2, Melee = 2,
              MaxHealth = 3, MaxAmmo = 3, TimesPlayed = 5, Date = 8, Name = 35;
}  // namespace col

// A number in plain decimal followed by spaces up to the column width (7 in 5 columns: "7    ").
std::string PadNumber(long long value, int width);
// The fixed-column record line of a result (not scrambled).
std::string RecordLine(const ScoreRecord& r);
// Cuts a record line (not scrambled) at the fixed columns; short lines give empty columns.
ScoreRecord ParseRecordLine(std::string_view line);
// Returns the text with every byte XOR key, and empties the given text. Its own inverse.
std::string ScrambleText(std::string& text, int key);
// The file stem of a result's proof picture: score, kills and date digits without separators.
std::string ProofStem(const ScoreRecord& r);
// The minutes or seconds of a game time with a leading zero below 10.
std::string TwoDigits(int v);

// Slot access of the twelve parallel columns.
ScoreRecord HsRecord(const HighScoreState& hs, int slot);
void SetHsRecord(HighScoreState& hs, int slot, const ScoreRecord& r);

// Inserts a finished game's score; with 0 only makes sure the table is loaded; during a name
// entry performs one step of it.
void HighScoreCheck(Game& g, double score);
// Fills slot i + offset with the finished game's result (place i + offset + 1).
void HighScoreFill(Game& g, int i, int offset, double score);
// One pass of the name entry on the high-score screen.
void NameEntryStep(Game& g);
void SaveHighScores(Game& g);
void LoadHighScores(Game& g);

// Window events for the name box: typed text (UTF-8) and key-down (Backspace).
void NameEntryTyped(Game& g, std::string_view utf8);
void NameEntryKeyDown(Game& g, int keyCode);

}  // namespace vorlan
