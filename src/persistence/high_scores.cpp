#include "persistence/high_scores.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "numbers.h"

namespace vorlan {

namespace {

constexpr const char* kArchive = "c:\\Windows\\AtopVo118.vor";
constexpr const char* kArchiveCopy = "\\OtherFiles\\HighScores.txt";
constexpr const char* kDefaultArchive = "\\OtherFiles\\Temp.txt";
constexpr const char* kUploadList = "\\Upload\\upload.txt";
constexpr const char* kUploadListDefault = "\\OtherFiles\\upload.txt";
constexpr int kUploadListMax = 20;

// Reads the archive by CR LF pairs (a scrambled "P" or "W" is a bare LF or CR inside a record).
// Fills the table only when the whole archive was readable, so a damaged file never leaves the
// table half old and half new.
bool ReadArchive(const std::filesystem::path& file, HighScoreState& hs) {
  auto lines = ReadLines(file, {.crLfOnly = true});
  if (!lines) return false;
  std::array<ScoreRecord, kHsSlots> slots{};
  for (int slot = 0; slot < kHsSlots; ++slot) {
    // A file that stops before eleven records and its end mark is half written or damaged.
    if (static_cast<size_t>(slot) >= lines->size()) return false;
    std::string line = (*lines)[slot];
    if (line == "END") break;
    slots[slot] = ParseRecordLine(ScrambleText(line, kScrambleKey));
  }
  for (int slot = 0; slot < kHsSlots; ++slot) SetHsRecord(hs, slot, slots[slot]);
  return true;
}

}  // namespace

// Trailing blanks keep the fixed columns; a wider number simply runs on.
std::string PadNumber(long long value, int width) { return PadRight(IntText(value), width); }

std::string RecordLine(const ScoreRecord& r) {
  // Columns shorter than their width (an empty slot) are padded too, so the keys never move.
  std::string line;
  line.reserve(128);
  line += PadRight(r.Score, col::Score);
  line += "K=" + PadRight(r.Kills, col::Kills);
  line += " T=" + PadRight(r.Time, col::Time);
  line += " A=" + PadRight(r.Accuracy, col::Accuracy);
  line += " R=" + PadRight(r.Recharge, col::Recharge);
  line += " B=" + PadRight(r.BulletSpeed, col::BulletSpeed);
  line += " M=" + PadRight(r.Melee, col::Melee);
  line += " MH=" + PadRight(r.MaxHealth, col::MaxHealth);
  line += " MA=" + PadRight(r.MaxAmmo, col::MaxAmmo);
  line += " TP=" + PadRight(r.TimesPlayed, col::TimesPlayed);
  line += "HD=" + PadRight(r.Date, col::Date);
  line += "??????????";
  line += " N=" + r.Name;
  return line;
}

ScoreRecord ParseRecordLine(std::string_view line) {
  ScoreRecord r;
  r.Score = std::string(Columns(line, 1, 5));
  r.Kills = std::string(Columns(line, 8, 10));
  r.Time = std::string(Columns(line, 14, 18));
  r.Accuracy = std::string(Columns(line, 22, 23));
  r.Recharge = std::string(Columns(line, 27, 28));
  r.BulletSpeed = std::string(Columns(line, 32, 33));
  r.Melee = std::string(Columns(line, 37, 38));
  r.MaxHealth = std::string(Columns(line, 43, 45));
  r.MaxAmmo = std::string(Columns(line, 50, 52));
  r.TimesPlayed = std::string(Columns(line, 57, 61));
  r.Date = std::string(Columns(line, 65, 72));
  r.Name = Trim(Columns(line, 86, 120));
  return r;
}

std::string ScrambleText(std::string& text, int key) {
  std::string out = std::move(text);
  text.clear();
  const char k = static_cast<char>(key & 255);
  for (char& c : out) c ^= k;
  return out;
}

std::string ProofStem(const ScoreRecord& r) {
  return IntText(static_cast<long long>(WholeNum(r.Score))) +
         IntText(static_cast<long long>(WholeNum(r.Kills))) +
         IntText(static_cast<long long>(WholeNum(r.Date)));
}

ScoreRecord HsRecord(const HighScoreState& hs, int slot) {
  return {hs.HsScore[slot],    hs.HsKills[slot],     hs.HsTime[slot],        hs.HsAccuracy[slot],
          hs.HsRecharge[slot], hs.HsBulletSpeed[slot], hs.HsMelee[slot],   hs.HsMaxHealth[slot],
          hs.HsMaxAmmo[slot],  hs.HsTimesPlayed[slot], hs.HsDate[slot],    hs.HsName[slot]};
}

void SetHsRecord(HighScoreState& hs, int slot, const ScoreRecord& r) {
  hs.HsScore[slot] = r.Score;
  hs.HsKills[slot] = r.Kills;
  hs.HsTime[slot] = r.Time;
  hs.HsAccuracy[slot] = r.Accuracy;
  hs.HsRecharge[slot] = r.Recharge;
  hs.HsBulletSpeed[slot] = r.BulletSpeed;
  hs.HsMelee[slot] = r.Melee;
  hs.HsMaxHealth[slot] = r.MaxHealth;
  hs.HsMaxAmmo[slot] = r.MaxAmmo;
  hs.HsTimesPlayed[slot] = r.TimesPlayed;
  hs.HsDate[slot] = r.Date;
  hs.HsName[slot] = r.Name;
}

int PlaceHighScore(HighScoreState& hs, double score) {
  for (int i = 9; i >= 0; --i) {
    if (score > WholeNum(hs.HsScore[i])) {
      SetHsRecord(hs, i + 1, HsRecord(hs, i));
      if (i == 0) return 0;
    } else if (score > WholeNum(hs.HsScore[i + 1])) {
      return i + 1;
    }
  }
  return -1;
}

std::filesystem::path ProofPicturePath(Game& g, const std::string& stem) {
  std::error_code ec;
  // One folder holds the pictures and their list, whatever the spelling.
  if (auto list = g.PathOf(kUploadList); !list.empty())
    std::filesystem::create_directories(list.parent_path(), ec);
  return g.PathOf("\\upload\\" + stem);
}

void AddToUploadList(Game& g, const std::string& picture) {
  std::filesystem::path list = g.PathOf(kUploadList);
  if (list.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(list.parent_path(), ec);
  if (!FileExists(list)) CopyFileOver(g.PathOf(kUploadListDefault), list);
  std::vector<std::string> kept;
  if (auto lines = ReadLines(list)) {
    for (const std::string& line : *lines) {
      if (kept.size() >= static_cast<size_t>(kUploadListMax) || line.empty()) break;
      kept.push_back(line);
    }
  }
  if (kept.size() < static_cast<size_t>(kUploadListMax)) kept.push_back(picture);
  WriteTextLines(list, kept);
}

void SaveHighScores(Game& g) {
  std::vector<std::string> lines;
  lines.reserve(kHsSlots + 1);
  for (int slot = 0; slot < kHsSlots; ++slot) {
    std::string line = RecordLine(HsRecord(g.hs, slot));
    lines.push_back(ScrambleText(line, kScrambleKey));
  }
  lines.push_back("END");
  std::filesystem::path archive = g.PathOf(kArchive);
  if (archive.empty()) return;
  // Written beside the archive and renamed over it, so the old table survives a crash.
  if (WriteTextLines(archive, lines)) CopyFileOver(archive, g.PathOf(kArchiveCopy));
}

void LoadHighScores(Game& g) {
  HighScoreState& hs = g.hs;
  hs.HsLoadCounter = Sat16(hs.HsLoadCounter + 1);
  if (hs.HsLoadCounter >= 10000) hs.HsLoadCounter = 0;
  if (hs.HsLoadCounter != 1) return;

  std::filesystem::path archive = g.PathOf(kArchive);
  if (!archive.empty() && ReadArchive(archive, hs)) return;
  if (!archive.empty()) {
    std::error_code ec;
    // A damaged archive is kept beside the new one: it may still hold the player's results.
    if (std::filesystem::exists(archive, ec)) {
      std::filesystem::path kept = archive;
      kept += ".damaged";
      std::filesystem::rename(archive, kept, ec);
    }
    CopyFileOver(g.PathOf(kDefaultArchive), archive);
    if (ReadArchive(archive, hs)) return;
  }
  // Neither the archive nor the default table could be read: start with an empty table.
  for (int slot = 0; slot < kHsSlots; ++slot) SetHsRecord(hs, slot, ScoreRecord{});
}

}  // namespace vorlan
