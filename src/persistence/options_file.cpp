#include "persistence/options_file.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
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

constexpr size_t kLines = 16;
constexpr size_t kPlayMinutesLine = 8, kTimesPlayedLine = 9, kMapsLine = 11;

// Every one of the 16 lines a number that fits its variable.
bool Usable(const std::vector<std::string>& lines) {
  if (lines.size() < kLines) return false;
  long long v;
  for (size_t i = 0; i < kLines; ++i) {
    bool wide = i == kPlayMinutesLine || i == kTimesPlayedLine;
    if (!LineValue(lines, i, wide ? -2147483648.0 : -32768.0, wide ? 2147483647.0 : 32767.0, v)) return false;
  }
  return true;
}

// A file that cannot be used must not switch everything on (full screen included): it is kept
// for a look, the shipped options take its place and the play statistics that survive stay.
void ReplaceDamaged(Game& g, const std::filesystem::path& file, const std::vector<std::string>& lines) {
  OptionsState fresh = ShippedOptions();
  fresh.SoundMuted = g.options.SoundMuted;
  Read32(lines, kPlayMinutesLine, fresh.PlayMinutes);
  Read32(lines, kTimesPlayedLine, fresh.TimesPlayed);
  Read16(lines, kMapsLine, fresh.MapsGenerated);
  g.options = fresh;
  std::fprintf(stderr, "vorlan: %s cannot be used; kept as %s.damaged, the shipped options are used\n",
               file.string().c_str(), file.filename().string().c_str());
  if (KeepDamaged(file)) OptionsFile(g, true);
}

}  // namespace

OptionsState ShippedOptions() {
  OptionsState o;
  o.OptDebugInfo = kOptOff;
  o.SoundVolume = 80;
  o.OptFullScreen = kOptOff;
  return o;
}

std::vector<std::string> OptionsFileLines(const OptionsState& o) {
  return {PrintFormat(o.OptBloodFly),   PrintFormat(o.OptBloodStays),   PrintFormat(o.OptBulletFly),
          PrintFormat(o.OptDebugInfo),  PrintFormat(o.OptScoreInfo),    PrintFormat(o.OptSnow),
          PrintFormat(o.OptMono),       PrintFormat(o.SoundVolume),     PrintFormat(o.PlayMinutes),
          PrintFormat(o.TimesPlayed),   PrintFormat(o.OptFootSteps),    PrintFormat(o.MapsGenerated),
          PrintFormat(o.OptFullScreen), PrintFormat(o.OptMovementReal), PrintFormat(o.OptAlphaBlend),
          PrintFormat(o.OptKillsInRow)};
}

void OptionsFile(Game& g, bool save) {
  OptionsState& o = g.options;
  std::filesystem::path file = g.PathOf("\\OtherFiles\\Options.txt");
  if (save) {
    std::vector<std::string> lines = OptionsFileLines(o);
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
  std::error_code why;
  // Sixteen numbers never fill a kilobyte: anything larger is junk and is not read at all.
  if (!file.empty()) read = ReadLines(file, {.maxBytes = 1024, .maxLines = kLines, .refuseLarger = true}, &why);
  if (!read && why == std::errc::file_too_large) return ReplaceDamaged(g, file, {});
  if (read && !Usable(*read)) return ReplaceDamaged(g, file, *read);
  if (!read) {
    // No file: everything on, full screen, stereo, volume 0, no statistics, maps not generated.
    OptionsState fresh;  // every field 0
    fresh.SoundMuted = o.SoundMuted;
    o = fresh;
    return;
  }
  const std::vector<std::string>& lines = *read;
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
