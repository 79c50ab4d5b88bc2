#include "shell/status_panel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "shell/display.h"
#include "text.h"

namespace vorlan {

namespace {

void DrawBar(Surface& dst, int y, int height, long long width, const Surface& pic, int srcY) {
  if (width > 0)
    BitBlt(dst, 0, y, static_cast<int>(std::min(width, 4096LL)), height, pic, 0, srcY, Rop::SrcCopy);
}

long long Width(double v) { return std::isfinite(v) ? static_cast<long long>(Nearest(v)) : 0; }

// One attribute row: empty bar, experience line, then the filled bar.
void AttributeRow(Surface& f, const Surface& pic, int y, double level, double exp) {
  DrawBar(f, y, 10, 300, pic, 0);
  DrawBar(f, y + 8, 2, Width(202.0 / 100 * exp + 98), pic, 18);
  DrawBar(f, y, 7, Width(185.0 / 10 * level + 98), pic, 10);
}

}  // namespace

// The player's six attribute bars and the score and time line on StatusField.
void StatusPanel(Game& g) {
  auto& w = g.world;
  const Soldier& p = w.Soldiers[0];
  Surface& f = g.form.StatusField;
  auto& pics = g.pics;

  ClearStatusField(g);

  // Health.
  const int16_t healthCap = Sat16(p.Power * 30);
  DrawBar(f, 0, 10, 300, pics.PicStatusHealth, 0);
  if (healthCap != 0) DrawBar(f, 0, 10, Width(245.0 / healthCap * p.Health + 53), pics.PicStatusHealth, 10);
  std::string text = IntText(static_cast<long long>(Nearest16(p.Health))) + "[" + IntText(healthCap) + "]" +
                     std::string(18, ' ');
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
