#include "shell/frame_cycle.h"

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "shell/display.h"
#include "shell/input.h"
#include "shell/spawn_step.h"
#include "shell/status_panel.h"
#include "soldiers/soldier_pass.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/crates.h"
#include "world/field_events.h"
#include "world/particles.h"
#include "world/status_lines.h"

namespace vorlan {

void GameFrame(Game& g) {
  FormState& f = g.form;
  InputState& in = g.input;
  WorldState& w = g.world;
  UpdateCursor(g);
  PollKeyboard(g);
  if (f.Paused || f.Quit) return;
  RefreshField(g);

  int dx = 0, dy = 0;
  if (w.ExplosionOn != 0) {  // the ground shakes
    dx = static_cast<int>(Floor(2 * g.Rnd())) - 1;
    dy = static_cast<int>(Floor(2 * g.Rnd())) - 1;
  }
  // Blending the terrain over the last picture fades it by half: moving things leave trails.
  if (g.options.OptAlphaBlend == kOptOn)
    AlphaBlendCopy(f.Terain, dx, dy, 300, 300, f.Field, 0, 0, 300, 300, 50);
  else
    BitBlt(f.Field, dx, dy, 300, 300, f.Terain, 0, 0, Rop::SrcCopy);
  // A line from the last cursor position to this one.
  if (g.options.OptBulletFly == kOptOn) LineTo(f.Field, in.CursorX, in.CursorY);

  HealthCrates(g, kFalse, 0, 0);
  int16_t noAmmo = 0;
  AmmoCrates(g, kFalse, 0, 0, noAmmo);
  MoveBullets(g);
  SheepPass(g, kFalse);
  SoldierPass(g);
  Acid(g, kFalse, 0);
  if (g.options.OptBloodFly == kOptOn || g.options.OptBloodStays == kOptOn) {
    double noDrops = 0;
    Blood(g, 0, 0, noDrops, 0, 0);
  }
  Cleaner(g, kFalse);
  if (g.options.OptSnow == kOptOn) Snow(g);
  Explosion(g, kFalse, 0, 0);
  FireModeIcon(g);
  AirRaid(g, kFalse, kFalse, kFalse, kFalse);
  StatusLines(g);
  KillsInRow(g, kFalse);

  DrawMasked(f.Field, in.CursorX - 4, in.CursorY - 4, 9, 9, g.pics.PicCursorFire, 0, 0, 9, 0);
  GameTick(g);
  // Window events every second frame.
  TimingState& t = g.timing;
  t.YieldPhase = static_cast<int16_t>(t.YieldPhase + 1);
  if (t.YieldPhase >= 2) t.YieldPhase = 0;
  if (t.YieldPhase == 0) DoEvents(g);
}

void GameTick(Game& g) {
  TimingState& t = g.timing;
  if (g.form.InGame != 0 && g.form.Paused == 0 && (t.FrameCounter == 1 || t.FrameCounter == 15))
    StatusPanel(g);
  if (static_cast<int64_t>(t.LastSecondTick) <= static_cast<int64_t>(g.plat.GetTickCount()) - 1000) {
    t.LastSecondTick = g.plat.GetTickCount();
    t.FramesLastSecond = t.FrameCounter;
    t.FrameCounter = 0;
    t.MaxIdleSpins = 0;
    if (g.form.InGame == kTrue && g.form.Paused == 0) GameClock(g);
  }
  t.FrameCounter += 1;
  t.IdleSpins = 0;
  // The wait sleeps until the first millisecond after the deadline; its length in
  // microseconds stands for the spare time of the frame.
  if (g.plat.GetTickCount() <= t.NextFrameTick) {
    uint64_t before = g.plat.GetMicros();
    g.plat.WaitPastTick(t.NextFrameTick);
    uint64_t spent = g.plat.GetMicros() - before;
    t.IdleSpins = spent > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(spent);
  }
  t.NextFrameTick = g.plat.GetTickCount() + 30;
  if (t.IdleSpins > t.MaxIdleSpins) t.MaxIdleSpins = t.IdleSpins;
}

void GameClock(Game& g) {
  TimingState& t = g.timing;
  Soldier& p = g.world.Soldiers[0];
  constexpr double kPlayerSide = 10.0 / 3 * 145;

  if (!AnyAcidRunning(g.world)) {
    t.FireStreak = (g.input.MouseLeft == kTrue && p.Ammo > 0) ? Sat16(t.FireStreak + 1) : 0;
    p.TimeExp = Nearest16(p.TimeExp + t.FireStreak / 5.0);
    if (p.TimeExp > 99 && p.RechargeTime > 4) {
      p.RechargeTime -= 1;
      p.TimeExp = 0;
      t.FireStreak = 0;
      PlaySound(g, snd::LevelUp, kPlayerSide);
    }
    if (p.TimeExp > 99) p.TimeExp = 100;
  }

  t.GameSeconds = Sat16(t.GameSeconds + 1);
  t.SpawnTimer = Sat16(t.SpawnTimer + 1);
  if (t.GameSeconds == 60) {
    t.GameSeconds = 0;
    t.GameMinutes = Sat16(t.GameMinutes + 1);
  }

  // One spawn step a second at most: the first rule that holds resets the timer.
  const bool spawn = (t.GameMinutes < 1 && t.SpawnTimer == 2) || (t.GameMinutes > 0 && t.SpawnTimer == 3) ||
                     (t.GameMinutes > 10 && t.SpawnTimer == 2) || (t.GameMinutes > 20 && t.SpawnTimer == 1) ||
                     (t.WaveCountdown > 0 && t.SpawnTimer == 2);
  if (spawn) {
    SpawnStep(g);
    t.SpawnTimer = 0;
  }

  // Health drifts toward the ceiling of Power x 30 and sinks fast far above it.
  double ceiling = Sat16(p.Power * 30);
  if (p.Health < ceiling && p.Alive == kTrue) {
    p.Health += 1;
  } else {
    p.Health -= 2;
    if (p.Health > 2 * ceiling) p.Health -= 6;
  }

  struct WaveTime {
    int16_t minute, size;
  };
  static constexpr WaveTime kWaves[] = {{3, 5}, {6, 10}, {9, 15}, {12, 20}, {15, 25}, {18, 35}};
  for (const WaveTime& wave : kWaves) {
    if (t.GameSeconds == 57 && t.GameMinutes == wave.minute - 1) PlaySound(g, snd::Alarm, kPlayerSide);
    if (t.GameSeconds == 0 && t.GameMinutes == wave.minute) {
      t.WavePending = kTrue;
      t.WaveSize = wave.size;
    }
  }

  if (t.WavePending == kTrue) {
    AirRaid(g, kFalse, kFalse, kFalse, kTrue);  // the supply run
    t.WaveCountdown = 60;
    t.WaveLeft = t.WaveSize;
    t.WavePending = kFalse;
    t.WaveSize = 0;
  }
  if (t.WaveCountdown > 0) t.WaveCountdown -= 1;
}

}  // namespace vorlan
