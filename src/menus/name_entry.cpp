#include "menus/name_entry.h"

#include <cmath>

#include "graphics/picture_catalogue.h"
#include "graphics/screen_capture.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "platform/key_map.h"
#include "shell/display.h"
#include "shell/input.h"
#include "sound/sound_bank.h"
#include "text.h"

namespace vorlan {

namespace {

// The player's new name: first letter upper case, the rest lower case, at most a column's width.
std::string NameFromBox(const std::string& box) {
  if (box.empty()) return " ";
  return NameCase(std::string_view(box).substr(0, col::Name));
}

int EntryRow(const HighScoreState& hs) { return hs.NameRow >= 0 && hs.NameRow < kHsSlots ? hs.NameRow : 0; }

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

}  // namespace

void HighScoreCheck(Game& g, double score) {
  if (g.hs.NameEntryActive) {
    NameEntryStep(g);
    return;
  }
  LoadHighScores(g);
  if (score == 0) return;
  const int slot = PlaceHighScore(g.hs, score);
  if (slot < 0) return;
  StartNameEntry(g, slot);
  HighScoreFill(g, slot, 0, score);
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
  r.Date = PadNumber(static_cast<long long>(WholeNum(p.Date)), col::Date);
  r.Name = g.hs.HsName[slot];
  SetHsRecord(g.hs, slot, r);

  // Proof picture for the world table: the player ringed in yellow, as the screen shows it.
  DrawProofCircle(g.form.Field, p.X + 10.5, p.Y + 7.5, 8);
  RefreshField(g);
  const std::string stem = ProofStem(r);
  if (auto file = ProofPicturePath(g, stem); !file.empty()) SaveScreenshot(g, file, 50);
  AddToUploadList(g, stem + ".jpg");
}

void NameEntryStep(Game& g) {
  HighScoreState& hs = g.hs;
  const int row = EntryRow(hs);
  DrawMasked(g.form.Field, 82, row * 14 + 50, 150, 15, g.pics.PicEnterText, 0, 0, 0, 15);

  // Read afresh, through the focus check: the step also runs at game over, in mid-frame.
  ReadKeyState(g);
  if (g.input.KeyState[dik::Return]) {
    EndNameEntry(g);
  } else {
    g.plat.SetTextInput(true);
    g.form.YourNameLeft = 0;
    hs.HsName[row] = NameFromBox(g.form.YourName);
  }
}

void EndNameEntry(Game& g) {
  HighScoreState& hs = g.hs;
  if (!hs.NameEntryActive) return;
  const int row = EntryRow(hs);
  hs.HsName[row] = NameFromBox(g.form.YourName);
  if (Trimmed(hs.HsName[row]).empty()) hs.HsName[row] = "I'm stupid";
  SaveHighScores(g);
  hs.NameEntryActive = kFalse;
  g.plat.SetTextInput(false);
  g.form.YourNameLeft = -45;
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
  if (g.hs.NameEntryActive && keyCode == vk::Back && !g.form.YourName.empty()) g.form.YourName.pop_back();
}

}  // namespace vorlan
