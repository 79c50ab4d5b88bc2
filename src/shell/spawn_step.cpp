#include "shell/spawn_step.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "shell/end_game.h"
#include "soldiers/soldier_files.h"
#include "sound/sound_bank.h"
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

}  // namespace vorlan
