// The local high-score table, its scrambled archive and the list of proof pictures to upload.
// The record line and ScrambleText are shared with the world table and the content generator.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "game.h"
#include "text.h"

namespace vorlan {

// The key byte of every score archive.
constexpr int kScrambleKey = 0x5A;

// One result as held in a score table: every column is text padded to its width, the name trimmed.
struct ScoreRecord {
  std::string Score, Kills, Time, Accuracy, Recharge, BulletSpeed, Melee, MaxHealth, MaxAmmo, TimesPlayed,
      Date, Name;
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
// A record line after unscrambling: its keys are where a record has them (a line cut short or
// overwritten with junk is not a record).
bool LooksLikeRecord(std::string_view line);
// Returns the text with every byte XOR key, and empties the given text. Its own inverse.
std::string ScrambleText(std::string& text, int key);
// The file stem of a result's proof picture: score, kills and date digits without separators.
std::string ProofStem(const ScoreRecord& r);

// Slot access of the twelve parallel columns.
ScoreRecord HsRecord(const HighScoreState& hs, int slot);
void SetHsRecord(HighScoreState& hs, int slot, const ScoreRecord& r);

// Puts a score into the table: moves the lower results down a slot and returns the slot the
// new result takes, or -1 when it does not make the table.
int PlaceHighScore(HighScoreState& hs, double score);
// The file stem of a proof picture in the upload folder, which is created if need be; empty
// when the folder lies outside the game's folders.
std::filesystem::path ProofPicturePath(Game& g, const std::string& stem);
// Lists a proof picture for the next upload, keeping at most 20 pictures waiting.
void AddToUploadList(Game& g, const std::string& picture);
// Writes the archive (and its copy); reads it when HsLoadCounter comes round to 1.
void SaveHighScores(Game& g);
void LoadHighScores(Game& g);

}  // namespace vorlan
