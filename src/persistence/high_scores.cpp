#include "persistence/high_scores.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "numbers.h"
#include "shell/notice.h"
#include "text.h"

namespace vorlan {

namespace {

constexpr const char* kArchive = "c:\\Windows\\AtopVo118.vor";
constexpr const char* kArchiveCopy = "\\OtherFiles\\HighScores.txt";
constexpr const char* kDefaultArchive = "\\OtherFiles\\Temp.txt";
constexpr const char* kUploadList = "\\Upload\\upload.txt";
constexpr const char* kUploadListDefault = "\\OtherFiles\\upload.txt";
constexpr int kUploadListMax = 20;

// Eleven records and the end mark take under 1.4 KB: a larger archive is junk, not read.
constexpr size_t kMaxArchiveBytes = 4096;

}  // namespace

bool LooksLikeRecord(std::string_view line) {
  size_t k = line.find("K=");
  size_t t = line.find(" T=", k == std::string_view::npos ? 0 : k);
  return k != std::string_view::npos && t != std::string_view::npos &&
         line.find(" N=", t) != std::string_view::npos;
}

namespace {

enum class ArchiveRead { Whole, Damaged, Missing, Unreadable };

// Reads the archive by CR LF pairs (a scrambled "P" or "W" is a bare LF or CR inside a record)
// into records. A damaged archive still gives the records read intact before the damage: those
// ended by CR LF that are records.
ArchiveRead ReadArchive(const std::filesystem::path& file, std::vector<ScoreRecord>& records,
                        std::error_code& why) {
  records.clear();
  auto lines = ReadLines(file, {.maxBytes = kMaxArchiveBytes, .crLfOnly = true, .refuseLarger = true}, &why);
  if (!lines) {
    if (why.value() == ENOENT) return ArchiveRead::Missing;
    return why.value() == EFBIG ? ArchiveRead::Damaged : ArchiveRead::Unreadable;
  }
  // The last line counts only when its CR LF made it to the disk.
  size_t bytes = 0;
  for (const std::string& l : *lines) bytes += l.size() + 2;
  std::error_code ec;
  if (!lines->empty() && lines->back() != "END" && bytes != std::filesystem::file_size(file, ec))
    lines->pop_back();
  for (std::string line : *lines) {
    if (line == "END") return ArchiveRead::Whole;
    std::string plain = ScrambleText(line, kScrambleKey);
    if (!LooksLikeRecord(plain)) return ArchiveRead::Damaged;
    records.push_back(ParseRecordLine(plain));
    if (records.size() == kHsSlots) return ArchiveRead::Whole;
  }
  return ArchiveRead::Damaged;  // stops before eleven records and its end mark
}

// The table from records, places past them empty.
void SetTable(HighScoreState& hs, const std::vector<ScoreRecord>& records) {
  for (int slot = 0; slot < kHsSlots; ++slot)
    SetHsRecord(hs, slot, static_cast<size_t>(slot) < records.size() ? records[slot] : ScoreRecord{});
}

// The default table's records, for the places a damaged archive lost.
std::vector<ScoreRecord> DefaultRecords(Game& g) {
  std::vector<ScoreRecord> records;
  std::error_code why;
  if (auto file = g.PathOf(kDefaultArchive); !file.empty()) ReadArchive(file, records, why);
  return records;
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
  return {hs.HsScore[slot],    hs.HsKills[slot],       hs.HsTime[slot],  hs.HsAccuracy[slot],
          hs.HsRecharge[slot], hs.HsBulletSpeed[slot], hs.HsMelee[slot], hs.HsMaxHealth[slot],
          hs.HsMaxAmmo[slot],  hs.HsTimesPlayed[slot], hs.HsDate[slot],  hs.HsName[slot]};
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
  // Twenty picture names: only the start of a runaway file is read.
  if (auto lines =
          ReadLines(list, {.maxBytes = 64 * 1024, .maxLines = kUploadListMax, .maxLineLength = 1024})) {
    for (const std::string& line : *lines) {
      if (kept.size() >= static_cast<size_t>(kUploadListMax) || line.empty()) break;
      kept.push_back(line);
    }
  }
  if (kept.size() < static_cast<size_t>(kUploadListMax)) kept.push_back(picture);
  std::error_code why;
  if (WriteTextLines(list, kept, &why))
    SaveWorked(g, "UPLOAD LIST");
  else
    SaveFailed(g, "UPLOAD LIST", list, why);
}

void SaveHighScores(Game& g) {
  HighScoreState& hs = g.hs;
  std::vector<std::string> lines;
  lines.reserve(kHsSlots + 1);
  for (int slot = 0; slot < kHsSlots; ++slot) {
    std::string line = RecordLine(HsRecord(hs, slot));
    lines.push_back(ScrambleText(line, kScrambleKey));
  }
  lines.push_back("END");
  std::filesystem::path archive = g.PathOf(kArchive);
  std::error_code why(hs.ArchiveUnreadable ? hs.ArchiveUnreadable : ENOENT, std::generic_category());
  // Written beside the archive and renamed over it, so the old table survives a crash. An
  // archive that exists but could not be read is never written over.
  if (!archive.empty() && !hs.ArchiveUnreadable && WriteTextLines(archive, lines, &why)) {
    hs.ArchiveUnsaved = false;
    SaveWorked(g, "SCORE");
    CopyFileOver(archive, g.PathOf(kArchiveCopy));
    return;
  }
  // The table stays in memory and goes with the next save.
  hs.ArchiveUnsaved = true;
  SaveFailed(g, "SCORE", archive, why);
}

void LoadHighScores(Game& g) {
  HighScoreState& hs = g.hs;
  hs.HsLoadCounter = Sat16(hs.HsLoadCounter + 1);
  if (hs.HsLoadCounter >= 10000) hs.HsLoadCounter = 0;
  if (hs.HsLoadCounter != 1) return;
  // A result not saved yet lives only in memory: the disk's older table must not replace it.
  if (hs.ArchiveUnsaved) return;

  std::filesystem::path archive = g.PathOf(kArchive);
  std::vector<ScoreRecord> records;
  std::error_code why;
  ArchiveRead read = archive.empty() ? ArchiveRead::Missing : ReadArchive(archive, records, why);
  if (read == ArchiveRead::Missing && !archive.empty()) {
    CopyFileOver(g.PathOf(kDefaultArchive), archive);
    read = ReadArchive(archive, records, why);
  }
  hs.ArchiveUnreadable = 0;
  switch (read) {
    case ArchiveRead::Whole:
      SetTable(hs, records);
      return;
    case ArchiveRead::Unreadable:
      // Not damage: the file may hold the player's results. It stays as it is and this run
      // shows the table in memory (the default one at start) without writing over it.
      hs.ArchiveUnreadable = why.value() ? why.value() : EIO;
      Notify(g, "SCORES NOT READ: " + std::string(SaveFailureReason(why)),
             "in " + archive.parent_path().string(),
             "cannot read " + archive.string() + ": " + why.message());
      if (Trimmed(hs.HsScore[0]).empty() && Trimmed(hs.HsName[0]).empty()) SetTable(hs, DefaultRecords(g));
      return;
    case ArchiveRead::Missing:
      // No archive could be made (an unwritable folder): the default table, or an empty one.
      SetTable(hs, DefaultRecords(g));
      return;
    case ArchiveRead::Damaged:
      break;
  }
  // Damaged: the copy is kept aside, the records read intact before the damage stay and the
  // default table fills only the places lost.
  std::vector<ScoreRecord> defaults = DefaultRecords(g);
  for (size_t place = records.size(); place < defaults.size() && records.size() < kHsSlots; ++place)
    records.push_back(defaults[place]);
  std::stable_sort(records.begin(), records.end(), [](const ScoreRecord& a, const ScoreRecord& b) {
    return WholeNum(a.Score) > WholeNum(b.Score);
  });
  SetTable(hs, records);
  if (!KeepDamaged(archive)) {
    hs.ArchiveUnreadable = EACCES;  // it could not be moved aside: it is not written over either
    return;
  }
  SaveHighScores(g);
}

}  // namespace vorlan
