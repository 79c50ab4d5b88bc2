#include "shell/spawn_step.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/picture_catalogue.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/display.h"
#include "soldiers/soldier_files.h"
#include "sound/sound_bank.h"
#include "text.h"
#include "world/field_events.h"

namespace vorlan {

namespace {

// Live soldiers (player included) above which no enemy is placed, by game minute; -1 = no cap.
int16_t PopulationCap(int16_t minute) {
  static constexpr int16_t kCaps[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                      14, 15, 16, 17, 18, 19, 30, 40, -1};
  if (minute < 0) return kCaps[0];
  if (minute < static_cast<int16_t>(std::size(kCaps))) return kCaps[minute];
  return 49;
}

// Where the soldiers of a wave enter, by the number still to be placed.
bool WavePosition(int16_t waveLeft, float& x, float& y) {
  switch (waveLeft) {
    case 1: x = 20, y = -20; return true;
    case 3: x = 90, y = 320; return true;
    case 4: x = 110, y = 320; return true;
    case 5: x = 130, y = -20; return true;
    case 7: x = 170, y = -20; return true;
    case 8: x = 190, y = 320; return true;
    case 9: x = 210, y = 320; return true;
    case 11: x = 280, y = -20; return true;
    default: return false;
  }
}

void EndGame(Game& g) {
  auto& w = g.world;
  w.Soldiers[0].Health = 0;
  StatusPanel(g);
  g.form.Paused = kFalse;
  g.form.InGame = kFalse;
  // The last frame, dimmed under the menu, becomes the menu background.
  Surface& menu = g.form.MenuField;
  const Surface& field = g.form.Field;
  if (menu.Width() < field.Width() || menu.Height() < field.Height()) {
    menu.ResizeKeep(std::max(menu.Width(), field.Width()), std::max(menu.Height(), field.Height()));
  }
  BitBlt(menu, 0, 0, field.Width(), field.Height(), field, 0, 0, Rop::SrcCopy);
  AlphaBlendCopy(g.pics.PicMainMenu, 15, 15, 270, 270, menu, 0, 0, 270, 270, 60);
  HighScoreCheck(g, Sat16(static_cast<long long>(w.Score) + w.BonusScore));
  MenuAmbienceOn(g);
  auto& o = g.options;
  o.TimesPlayed = Sat32(static_cast<double>(o.TimesPlayed) + 1);
  o.PlayMinutes = Sat32(static_cast<double>(o.PlayMinutes) + g.timing.GameMinutes +
                        (g.timing.GameSeconds > 29 ? 1 : 0));
  OptionsFile(g, true);
}

// Fills slot SpawnSlot with an enemy whose strength follows the player's. False when the
// table is full: nothing is written and the rest of a wave waits for the next spawn step.
bool PlaceSoldier(Game& g) {
  auto& w = g.world;
  auto& t = g.timing;
  SpawnEnemy(g);
  if (w.SpawnSlot < 0 || w.SpawnSlot >= kSoldierSlots) return false;
  const Soldier& p = w.Soldiers[0];
  Soldier& s = w.Soldiers[w.SpawnSlot];
  s.Ammo = 10;
  s.Speed = 10;
  s.Health = 20;
  s.Spread = 30;
  s.Power = 3;
  s.Range = 20;
  s.RechargeTime = 20;
  if (t.WaveLeft > 0) {
    float x, y;
    if (WavePosition(t.WaveLeft, x, y)) s.X = x, s.Y = y;
    s.Speed = Floor(g.Rnd() * 5) + 7;
    s.Ammo = static_cast<int16_t>(Floor(g.Rnd() * 10) + 8);
    t.WaveLeft = Sat16(t.WaveLeft - 1);
  }
  s.Power = Nearest16(g.Rnd() * (p.Power - 3) + 3);
  if (p.Power < 5 && t.GameMinutes > 2) s.Power = Sat16(s.Power + 2);
  s.Range = p.Range - g.Rnd() * 20;
  s.RechargeTime = p.RechargeTime;
  s.Health = static_cast<float>((g.Rnd() * 3 + 1) * Sat16(p.Power * 3));
  s.Kind = "AiLVL";
  s.Kind += IntText((s.Power - 3) / 2);
  return true;
}

void DrawBar(Surface& dst, int y, int height, long long width, const Surface& pic, int srcY) {
  if (width > 0) BitBlt(dst, 0, y, static_cast<int>(std::min(width, 4096LL)), height, pic, 0, srcY, Rop::SrcCopy);
}

long long Width(double v) { return std::isfinite(v) ? static_cast<long long>(Nearest(v)) : 0; }

// One attribute row: empty bar, experience line, then the filled bar.
void AttributeRow(Surface& f, const Surface& pic, int y, double level, double exp) {
  DrawBar(f, y, 10, 300, pic, 0);
  DrawBar(f, y + 8, 2, Width(202.0 / 100 * exp + 98), pic, 18);
  DrawBar(f, y, 7, Width(185.0 / 10 * level + 98), pic, 10);
}

}  // namespace

// Once per spawn interval: ends the game of a dead player, keeps sheep coming and places enemies.
void SpawnStep(Game& g) {
  if (g.form.Paused != 0) return;
  auto& w = g.world;
  auto& t = g.timing;
  if (w.Soldiers[0].Alive == 0) EndGame(g);

  int sheep = 0;
  for (int k = 0; k < kSheepInPlay; ++k) {
    if (w.Sheep[k].SheepAlive != 0) ++sheep;
  }
  if (t.GameMinutes < 21 && sheep < 2 * t.GameMinutes) SheepPass(g, kTrue);

  const int16_t cap = PopulationCap(t.GameMinutes);
  if (!(t.WaveLeft > 0 || t.WaveCountdown > 0) && cap >= 0 && w.AliveCount > cap) return;

  // A whole wave is placed in one call.
  do {
    if (!PlaceSoldier(g)) return;
  } while (t.WaveLeft > 0);
}

// The player's six attribute bars and the score and time line on StatusField.
void StatusPanel(Game& g) {
  auto& w = g.world;
  const Soldier& p = w.Soldiers[0];
  Surface& f = g.form.StatusField;
  auto& pics = g.pics;

  if (pics.PicStatusBar.Empty()) {
    const auto path = g.PathOf("\\Pictures\\StatusBar.jpg");
    if (!path.empty()) g.plat.LoadPicture(path, pics.PicStatusBar);
  }
  if (!pics.PicStatusBar.Empty()) {
    BitBlt(f, 0, 0, f.Width(), f.Height(), pics.PicStatusBar, 0, 0, Rop::SrcCopy);
  }

  // Health.
  const int16_t healthCap = Sat16(p.Power * 30);
  DrawBar(f, 0, 10, 300, pics.PicStatusHealth, 0);
  if (healthCap != 0) DrawBar(f, 0, 10, Width(245.0 / healthCap * p.Health + 53), pics.PicStatusHealth, 10);
  std::string text = IntText(static_cast<long long>(Nearest16(p.Health))) + "[" + IntText(healthCap) +
                     "]" + std::string(18, ' ');
  DrawText(g, f, 150, -2, text, 20);

  // Ammunition; above capacity the bar is simply full.
  const int16_t capacity = Sat16((16 - p.RechargeTime) * 15);
  DrawBar(f, 10, 10, 300, pics.PicStatusAmmo, 0);
  if (capacity != 0) {
    DrawBar(f, 10, 10, Width(245.0 / capacity * std::min(p.Ammo, capacity) + 53), pics.PicStatusAmmo, 10);
  }
  text = IntText(p.Ammo) + "[" + IntText(capacity) + "]" + std::string(17, ' ');
  DrawText(g, f, 150, 8, text, 20);

  AttributeRow(f, pics.PicStatusAccuracy, 25, 10 - p.Spread / 3, p.AimExp);
  AttributeRow(f, pics.PicStatusRecharge, 35, 15 - p.RechargeTime, p.TimeExp);
  AttributeRow(f, pics.PicStatusBulletSpeed, 45, p.Power - 3, p.ProxExp);
  AttributeRow(f, pics.PicStatusMelee, 55, p.Melee, p.MeleeExp);

  f.foreColor = 0x00FF00;
  const long long bonus =
      (10LL - p.Spread / 3 + p.Power + (20 - p.RechargeTime) + p.Melee) * (p.Power - 3) + w.GameKills;
  w.BonusScore = Sat16(bonus);
  text = "Score=" + IntText(Sat16(static_cast<long long>(w.Score) + w.BonusScore)) +
         "           Killed=" + IntText(w.GameKills);
  DrawText(g, f, 2, 63, text);
  text = "Time=" + TwoDigits(g.timing.GameMinutes) + ":" + TwoDigits(g.timing.GameSeconds) +
         std::string(20, ' ');
  DrawText(g, f, 225, 63, text);
  f.foreColor = 0x800000;
  // The status bar shows what is drawn on it at once, not at the next frame.
  RefreshStatusField(g);
}

}  // namespace vorlan
