#include "persistence/options_file.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "numbers.h"
#include "persistence/high_scores.h"
#include "shell/notice.h"

namespace vorlan {

namespace {

// True when the text starts (after blanks) with a number: optional sign, then a digit or a
// point followed by a digit. Anything else is a failed conversion and leaves the value alone.
bool StartsWithNumber(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (i < t.size() && t[i] >= '0' && t[i] <= '9') return true;
  return i + 1 < t.size() && t[i] == '.' && t[i + 1] >= '0' && t[i + 1] <= '9';
}

// The integer part of a line (toward minus infinity), when it is a number that fits the range.
bool LineValue(const std::vector<std::string>& lines, size_t i, double lo, double hi, long long& out) {
  if (i >= lines.size() || !StartsWithNumber(lines[i])) return false;
  double v = WholeNum(lines[i]);
  if (!std::isfinite(v) || v < lo || v > hi) return false;
  out = static_cast<long long>(v);
  return true;
}

void Read16(const std::vector<std::string>& lines, size_t i, int16_t& var) {
  long long v;
  if (LineValue(lines, i, -32768.0, 32767.0, v)) var = static_cast<int16_t>(v);
}

void Read32(const std::vector<std::string>& lines, size_t i, int32_t& var) {
  long long v;
  if (LineValue(lines, i, -2147483648.0, 2147483647.0, v)) var = static_cast<int32_t>(v);
}

// The default print format of a number: a blank in place of the sign when not negative, and a
// trailing blank.
std::string PrintFormat(long long v) { return (v < 0 ? "" : " ") + IntText(v) + " "; }

}  // namespace

void OptionsFile(Game& g, bool save) {
  OptionsState& o = g.options;
  std::filesystem::path file = g.PathOf("\\OtherFiles\\Options.txt");
  if (save) {
    std::vector<std::string> lines = {
        PrintFormat(o.OptBloodFly),   PrintFormat(o.OptBloodStays),   PrintFormat(o.OptBulletFly),
        PrintFormat(o.OptDebugInfo),  PrintFormat(o.OptScoreInfo),    PrintFormat(o.OptSnow),
        PrintFormat(o.OptMono),       PrintFormat(o.SoundVolume),     PrintFormat(o.PlayMinutes),
        PrintFormat(o.TimesPlayed),   PrintFormat(o.OptFootSteps),    PrintFormat(o.MapsGenerated),
        PrintFormat(o.OptFullScreen), PrintFormat(o.OptMovementReal), PrintFormat(o.OptAlphaBlend),
        PrintFormat(o.OptKillsInRow)};
    // A failed write (no OtherFiles folder, read-only disk, full disk) keeps the settings in
    // memory, tells the player once and is tried again at the next save.
    std::error_code why(ENOENT, std::generic_category());
    if (!file.empty() && WriteTextLines(file, lines, &why))
      SaveWorked(g, "OPTIONS");
    else
      SaveFailed(g, "OPTIONS", file, why);
    // A score that could not be saved earlier goes with it.
    if (g.hs.ArchiveUnsaved) SaveHighScores(g);
    return;
  }

  std::optional<std::vector<std::string>> read;
  // Sixteen numbers never fill a kilobyte: anything larger is junk and is not read at all.
  if (!file.empty()) read = ReadLines(file, {.maxBytes = 1024, .maxLines = 16, .refuseLarger = true});
  if (!read) {
    // No file: everything on, full screen, stereo, volume 0, no statistics, maps not generated.
    OptionsState fresh;  // every field 0
    fresh.SoundMuted = o.SoundMuted;
    o = fresh;
    return;
  }
  const std::vector<std::string>& lines = *read;
  // A short file or a line that is not a number leaves that setting as it was in memory.
  Read16(lines, 0, o.OptBloodFly);
  Read16(lines, 1, o.OptBloodStays);
  Read16(lines, 2, o.OptBulletFly);
  Read16(lines, 3, o.OptDebugInfo);
  Read16(lines, 4, o.OptScoreInfo);
  Read16(lines, 5, o.OptSnow);
  Read16(lines, 6, o.OptMono);
  int16_t volume = o.SoundVolume;
  Read16(lines, 7, volume);
  // A damaged volume outside 0..100 would make every volume call fail; keep it a percentage.
  o.SoundVolume = volume < 0 ? 0 : (volume > 100 ? 100 : volume);
  Read32(lines, 8, o.PlayMinutes);
  Read32(lines, 9, o.TimesPlayed);
  long long v;
  if (LineValue(lines, 10, -32768.0, 32767.0, v)) o.OptFootSteps = (v == kOptOn || v == kOptOff) ? v : kOptOn;
  Read16(lines, 11, o.MapsGenerated);
  if (LineValue(lines, 12, -32768.0, 32767.0, v))
    o.OptFullScreen = (v == kOptOn || v == kOptOff) ? v : kOptOff;
  Read16(lines, 13, o.OptMovementReal);
  Read16(lines, 14, o.OptAlphaBlend);
  Read16(lines, 15, o.OptKillsInRow);
}

}  // namespace vorlan
