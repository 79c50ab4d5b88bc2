#include "persistence/high_scores.h"

#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

#include "graphics/picture_catalogue.h"
#include "graphics/screen_capture.h"
#include "numbers.h"
#include "shell/display.h"
#include "sound/sound_bank.h"

namespace vorlan {

namespace {

constexpr const char* kArchive = "c:\\Windows\\AtopVo118.vor";
constexpr const char* kArchiveCopy = "\\OtherFiles\\HighScores.txt";
constexpr const char* kDefaultArchive = "\\OtherFiles\\Temp.txt";
constexpr const char* kUploadList = "\\Upload\\upload.txt";
constexpr const char* kUploadListDefault = "\\OtherFiles\\upload.txt";
constexpr int kUploadListMax = 20;
constexpr int kEnterScanCode = 28;

// VB-style Mid$ with a 1-based start: whatever of the range exists.
std::string Mid(std::string_view s, size_t start, size_t len) {
  if (start < 1 || start > s.size()) return {};
  return std::string(s.substr(start - 1, len));
}

std::string TrimSpaces(std::string_view s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

// Case mapping of the archive's code page (Windows-1252), so accented names keep their letters.
unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 16;
  if (c == 0xFF) return 0x9F;
  return c;
}
unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
  if (c == 0x9F) return 0xFF;
  return c;
}

// The integer part of a column's value; an empty text counts as 0.
double ColumnValue(const std::string& text) { return Floor(Num(text)); }

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

// The player's new name: first letter upper case, the rest lower case, at most a column's width.
std::string NameFromBox(const std::string& box) {
  if (box.empty()) return " ";
  std::string name = box.substr(0, col::Name);
  name[0] = static_cast<char>(UpperCp1252(static_cast<unsigned char>(name[0])));
  for (size_t k = 1; k < name.size(); ++k)
    name[k] = static_cast<char>(LowerCp1252(static_cast<unsigned char>(name[k])));
  return name;
}

void StartNameEntry(Game& g, int slot) {
  g.hs.NameEntryActive = kTrue;
  g.form.YourName.clear();
  g.hs.NameRow = Sat16(slot);
  g.menus.CurrentScreen = "HS";
}

// The yellow ring that marks the player on the proof picture.
void DrawProofCircle(Surface& field, double cx, double cy, double radius) {
  constexpr Color kYellow = 0x00FFFF;
  int x0 = static_cast<int>(Floor(cx - radius - 1)), x1 = static_cast<int>(Floor(cx + radius + 1));
  int y0 = static_cast<int>(Floor(cy - radius - 1)), y1 = static_cast<int>(Floor(cy + radius + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (std::fabs(d - radius) < 0.6) SetPixelV(field, x, y, kYellow);
    }
}

// Lists the proof picture for the next upload, keeping at most 20 pictures waiting.
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

}  // namespace

std::string PadNumber(long long value, int width) {
  std::string t = IntText(value);
  // Trailing blanks keep the fixed columns; a wider number simply runs on.
  while (static_cast<int>(t.size()) < width) t += ' ';
  return t;
}

std::string TwoDigits(int v) { return v < 10 ? "0" + IntText(v) : IntText(v); }

std::string RecordLine(const ScoreRecord& r) {
  // Columns shorter than their width (an empty slot) are padded too, so the keys never move.
  auto pad = [](const std::string& v, int width) {
    return static_cast<int>(v.size()) >= width ? v : v + std::string(width - v.size(), ' ');
  };
  std::string line;
  line.reserve(128);
  line += pad(r.Score, col::Score);
  line += "K=" + pad(r.Kills, col::Kills);
  line += " T=" + pad(r.Time, col::Time);
  line += " A=" + pad(r.Accuracy, col::Accuracy);
  line += " R=" + pad(r.Recharge, col::Recharge);
  line += " B=" + pad(r.BulletSpeed, col::BulletSpeed);
  line += " M=" + pad(r.Melee, col::Melee);
  line += " MH=" + pad(r.MaxHealth, col::MaxHealth);
  line += " MA=" + pad(r.MaxAmmo, col::MaxAmmo);
  line += " TP=" + pad(r.TimesPlayed, col::TimesPlayed);
  line += "HD=" + pad(r.Date, col::Date);
  line += "??????????";
  line += " N=" + r.Name;
  return line;
}

ScoreRecord ParseRecordLine(std::string_view line) {
  ScoreRecord r;
  r.Score = Mid(line, 1, 5);
  r.Kills = Mid(line, 8, 3);
  r.Time = Mid(line, 14, 5);
  r.Accuracy = Mid(line, 22, 2);
  r.Recharge = Mid(line, 27, 2);
  r.BulletSpeed = Mid(line, 32, 2);
  r.Melee = Mid(line, 37, 2);
  r.MaxHealth = Mid(line, 43, 3);
  r.MaxAmmo = Mid(line, 50, 3);
  r.TimesPlayed = Mid(line, 57, 5);
  r.Date = Mid(line, 65, 8);
  r.Name = TrimSpaces(Mid(line, 86, 35));
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
  return IntText(static_cast<long long>(ColumnValue(r.Score))) +
         IntText(static_cast<long long>(ColumnValue(r.Kills))) +
         IntText(static_cast<long long>(ColumnValue(r.Date)));
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

void HighScoreCheck(Game& g, double score) {
  if (g.hs.NameEntryActive) {
    NameEntryStep(g);
    return;
  }
  LoadHighScores(g);
  if (score == 0) return;
  HighScoreState& hs = g.hs;
  for (int i = 9; i >= 0; --i) {
    if (score > ColumnValue(hs.HsScore[i])) {
      SetHsRecord(hs, i + 1, HsRecord(hs, i));
      if (i == 0) {
        StartNameEntry(g, 0);
        HighScoreFill(g, 0, 0, score);
      }
    } else if (score > ColumnValue(hs.HsScore[i + 1])) {
      StartNameEntry(g, i + 1);
      HighScoreFill(g, i, 1, score);
      break;
    }
  }
}

void HighScoreFill(Game& g, int i, int offset, double score) {
  const int place = i + offset + 1;
  if (place >= 1 && place <= 3) PlaySound(g, snd::HighScore1, 500);
  if (place >= 4 && place <= 6) PlaySound(g, snd::HighScore2, 500);
  if (place >= 7 && place <= 10) PlaySound(g, snd::HighScore3, 500);
  if (place >= 1 && place <= 10) PlaySound(g, snd::ScoreMusic, 500);
  if (place >= 11 || place < 1) {
    g.hs.NameEntryActive = kFalse;
    return;
  }

  const Soldier& p = g.world.Soldiers[0];
  const int slot = i + offset;
  ScoreRecord r;
  r.Score = PadNumber(Sat32(Nearest(score)), col::Score);
  r.Kills = PadNumber(g.world.GameKills < 0 ? 0 : g.world.GameKills, col::Kills);
  r.Time = TwoDigits(g.timing.GameMinutes) + ":" + TwoDigits(g.timing.GameSeconds);
  r.Accuracy = PadNumber(Sat16(10 + (-p.Spread) / 3), col::Accuracy);
  r.Recharge = PadNumber(Sat16(15 - p.RechargeTime), col::Recharge);
  r.BulletSpeed = PadNumber(Sat16(p.Power - 3), col::BulletSpeed);
  r.Melee = PadNumber(p.Melee, col::Melee);
  r.MaxHealth = PadNumber(Sat16(p.Power * 30), col::MaxHealth);
  r.MaxAmmo = PadNumber(Sat16((16 - p.RechargeTime) * 15), col::MaxAmmo);
  r.TimesPlayed = PadNumber(g.options.TimesPlayed, col::TimesPlayed);
  r.Date = PadNumber(static_cast<long long>(ColumnValue(p.Date)), col::Date);
  r.Name = g.hs.HsName[slot];
  SetHsRecord(g.hs, slot, r);

  // Proof picture for the world table: the player ringed in yellow, as the screen shows it.
  DrawProofCircle(g.form.Field, p.X + 10.5, p.Y + 7.5, 8);
  RefreshField(g);
  const std::string stem = ProofStem(r);
  std::error_code ec;
  // One folder holds the pictures and their list, whatever the spelling.
  if (auto list = g.PathOf(kUploadList); !list.empty())
    std::filesystem::create_directories(list.parent_path(), ec);
  if (auto file = g.PathOf("\\upload\\" + stem); !file.empty()) SaveScreenshot(g, file, 50);
  AddToUploadList(g, stem + ".jpg");
}

void NameEntryStep(Game& g) {
  HighScoreState& hs = g.hs;
  const int row = hs.NameRow >= 0 && hs.NameRow < kHsSlots ? hs.NameRow : 0;
  DrawMasked(g.form.Field, 82, row * 14 + 50, 150, 15, g.pics.PicEnterText, 0, 0, 0, 15);

  uint8_t keys[256];
  if (g.plat.GetKeyboardState(keys)) std::copy(keys, keys + 256, g.input.KeyState.begin());

  if (g.input.KeyState[kEnterScanCode]) {
    if (TrimSpaces(hs.HsName[row]).empty()) hs.HsName[row] = "I'm stupid";
    SaveHighScores(g);
    hs.NameEntryActive = kFalse;
    g.plat.SetTextInput(false);
    g.form.YourNameLeft = -45;
  } else {
    g.plat.SetTextInput(true);
    g.form.YourNameLeft = 0;
    hs.HsName[row] = NameFromBox(g.form.YourName);
  }
}

void NameEntryTyped(Game& g, std::string_view utf8) {
  if (!g.hs.NameEntryActive) return;
  for (char c : Utf8ToCp1252(utf8)) {
    // Control bytes would break the archive's lines; the box holds one column's worth.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) continue;
    if (g.form.YourName.size() >= static_cast<size_t>(col::Name)) break;
    g.form.YourName += c;
  }
}

void NameEntryKeyDown(Game& g, int keyCode) {
  constexpr int kVkBack = 8;
  if (g.hs.NameEntryActive && keyCode == kVkBack && !g.form.YourName.empty())
    g.form.YourName.pop_back();
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
