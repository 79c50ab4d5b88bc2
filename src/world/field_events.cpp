#include "world/field_events.h"

#include <charconv>
#include <cmath>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/crates.h"
#include "world/field_pixels.h"
#include "world/particles.h"

namespace vorlan {

namespace {

constexpr int kBlastReach = 50;  // field pixels from the blast's centre that it hurts

// The bleat of a sheep kind (a third kind is never born but has its sound).
int BleatSound(int16_t kind) { return kind == 1 ? snd::Sheep1 : kind == 2 ? snd::Sheep2 : snd::Sheep3; }

void StartCleaner(Game& g) {
  WorldState& w = g.world;
  w.CleanerOn = kTrue;
  w.CleanerY = -64;
  w.CleanerX = Floor(260 * g.Rnd());
  PlaySoundAt(g, snd::Buger, w.CleanerX);
}

// Sends the aircraft on a run of the given kind unless one is already flying.
bool StartRaid(Game& g, int16_t kind) {
  WorldState& w = g.world;
  if (w.AirRaidOn != 0) return false;
  Soldier& p = w.Soldiers[0];
  w.AirRaidOn = kTrue;
  switch (kind) {
    case raid::HealthDrop:
    case raid::AmmoDrop:
      w.PlaneX = -40;
      w.PlaneY = ViaSingle(p.Y - 20.0f);
      w.AirRaidKind = kind;
      w.BombTargetX = ViaSingle(static_cast<float>(p.X + 50 * g.Rnd() - 25));
      w.BombTargetY = ViaSingle(static_cast<float>(p.Y + 50 * g.Rnd() - 25));
      break;
    case raid::Bomb:
      p.Ammo = Sat16(p.Ammo - 15);
      w.PlaneX = -40;
      w.PlaneY = static_cast<double>(g.input.CursorY) - 20;
      w.BombTargetX = static_cast<double>(g.input.CursorX) - 35;
      w.BombTargetY = static_cast<double>(g.input.CursorY) - 35;
      w.AirRaidKind = raid::Bomb;
      PlaySound(g, snd::AirPlane, 500);
      break;
    default:
      w.PlaneX = 0;
      w.PlaneY = 135;
      w.AirRaidKind = raid::SupplyRun;
      break;
  }
  return true;
}

// One health crate of the supply run, unless the fifth minute thins the run out.
void SupplyDrop(Game& g, double x, bool skippedInMinute5) {
  if (skippedInMinute5 && g.timing.GameMinutes == 5) return;
  HealthCrates(g, kTrue, x, 150);
}

void DeliverPayload(Game& g) {
  WorldState& w = g.world;
  const Soldier& p = w.Soldiers[0];
  const double x = w.PlaneX;
  switch (w.AirRaidKind) {
    case raid::HealthDrop:
      if (x > p.X) {
        HealthCrates(g, kTrue, w.BombTargetX, w.BombTargetY);
        w.AirRaidKind = raid::Delivered;
      }
      break;
    case raid::AmmoDrop:
      if (x > p.X) {
        int16_t offered = Sat16((16 - p.RechargeTime) * 15 + 1);
        AmmoCrates(g, kTrue, w.BombTargetX, w.BombTargetY, offered);
        w.AirRaidKind = raid::Delivered;
      }
      break;
    case raid::Bomb:
      if (x >= g.input.CursorX) {
        Explosion(g, kTrue, w.BombTargetX, w.BombTargetY);
        PlaySound(g, snd::Bomb, 500);
        w.AirRaidKind = raid::Delivered;
      }
      break;
    case raid::SupplyRun:
      if (x > 60 && x < 80) SupplyDrop(g, 60, true);
      if (x > 80 && x < 100) SupplyDrop(g, 80, true);
      if (x > 100 && x < 120) SupplyDrop(g, 100, false);
      if (x > 120 && x < 140) SupplyDrop(g, 120, false);
      if (x > 140 && x < 160) {
        SupplyDrop(g, 140, false);
        int16_t offered = 100;
        AmmoCrates(g, kTrue, 150, 140, offered);
      }
      if (x > 160 && x < 180) SupplyDrop(g, 160, false);
      if (x > 180 && x < 200) SupplyDrop(g, 180, false);
      if (x > 200 && x < 220) SupplyDrop(g, 200, true);
      if (x > 220 && x < 250) SupplyDrop(g, 220, true);
      if (x > 250) {
        SupplyDrop(g, 250, false);
        w.AirRaidKind = raid::Delivered;
      }
      break;
    default:
      break;
  }
}

}  // namespace

// Births one sheep on the ring around the field (spawn), or moves, bleats and draws the flock.
void SheepPass(Game& g, int16_t spawn) {
  WorldState& w = g.world;
  const double d2r = g.form.DegToRad;
  const Soldier& p = w.Soldiers[0];

  if (spawn != 0) {
    for (int k = 0; k < kSheepInPlay; ++k) {
      SheepRec& sh = w.Sheep[k];
      if (sh.SheepAlive != 0) continue;
      sh.SheepAlive = kTrue;
      g.rng.Randomize(g.plat.Timer());
      double a = Floor(359 * g.Rnd()) + 1;
      sh.SheepX = static_cast<float>(std::cos(a * d2r) * 210 + 140);
      sh.SheepY = static_cast<float>(std::sin(a * d2r) * 210 + 140);
      sh.SheepSpeed = static_cast<int16_t>(Floor(4 * g.Rnd()) + 3);
      sh.SheepDir = AngleAndDistance(g, sh.SheepX, sh.SheepY, p.X, p.Y);
      sh.SheepHealth = 100;
      sh.SheepKind = static_cast<int16_t>(Floor(2 * g.Rnd()) + 1);
      sh.SheepBleatEvery = static_cast<int16_t>((Floor(60 * g.Rnd()) + 10) * 30);
      break;
    }
    return;
  }

  for (int k = 0; k < kSheepInPlay; ++k) {
    SheepRec& sh = w.Sheep[k];
    if (sh.SheepAlive == 0) continue;
    AngleAndDistance(g, sh.SheepX, sh.SheepY, 140, 140);
    if (w.DistResult > 250) {
      sh.SheepAlive = kFalse;
      continue;
    }
    g.rng.Randomize(g.plat.Timer());
    int dir = Nearest16(sh.SheepDir + 16 * g.Rnd() - 8);
    if (dir > 359) dir -= 360;
    if (dir < 0) dir += 360;
    sh.SheepDir = static_cast<int16_t>(dir);
    sh.SheepX = static_cast<float>(sh.SheepX + std::cos(sh.SheepDir * d2r) * sh.SheepSpeed / 10);
    sh.SheepY = static_cast<float>(sh.SheepY + std::sin(sh.SheepDir * d2r) * sh.SheepSpeed / 10);
    sh.SheepBleatLeft = Sat16(sh.SheepBleatLeft - 1);
    if (sh.SheepBleatLeft < 1) {
      sh.SheepBleatLeft = sh.SheepBleatEvery;
      PlaySoundAt(g, BleatSound(sh.SheepKind), static_cast<double>(sh.SheepX) + 11);
    }
    DrawMasked(g.form.Field, Px(sh.SheepX), Px(sh.SheepY), 23, 16, g.pics.PicOvca, 23 * (sh.SheepDir / 10), 0,
               23 * (sh.SheepDir / 10), 17);
  }
}

// After a sheep was hurt: it dies below 1 health (maybe leaving a health crate) or bleats.
void SheepDeathCheck(Game& g, int k) {
  if (k < 0 || k >= kSheepSlots) return;
  SheepRec& sh = g.world.Sheep[k];
  // A sheep already dead leaves no second body or crate.
  if (sh.SheepAlive == 0) return;
  if (sh.SheepHealth < 1) {
    sh.SheepAlive = kFalse;
    if (Floor(10 * g.Rnd()) == 0) HealthCrates(g, kTrue, sh.SheepX, sh.SheepY);
  }
  if (sh.SheepAlive != 0) {
    PlaySoundAt(g, BleatSound(sh.SheepKind), static_cast<double>(sh.SheepX) + 11);
  } else {
    // Dead sheep stay on the ground whatever the blood option says.
    DrawMasked(g.form.Terain, Px(sh.SheepX), Px(sh.SheepY), 17, 16, g.pics.PicOvcaDead, 0, 0, 0, 16);
  }
}

// The cleaner runs down the field wiping a strip of terrain; it starts itself twice a minute.
void Cleaner(Game& g, int16_t start) {
  WorldState& w = g.world;
  if (start != 0 && w.CleanerOn == 0) StartCleaner(g);
  if (w.CleanerOn != 0) {
    w.CleanerY += 2;
    if (w.CleanerY > 300) w.CleanerOn = kFalse;
    int x = Px(w.CleanerX), y = Px(w.CleanerY);
    BitBlt(g.form.Terain, x, y + 40, 49, 10, g.pics.PicCleanLine, 0, y + 40, Rop::SrcCopy);
    DrawMasked(g.form.Field, x, y, 50, 64, g.pics.PicCleaner, 0, 0, 50, 0);
  }
  const int16_t sec = g.timing.GameSeconds;
  if ((sec == 59 || sec == 29) && w.CleanerOn == 0) StartCleaner(g);
}

// The bomb's blast: 27 frames of fire, with the crater and the damage at the ninth.
void Explosion(Game& g, int16_t start, double x, double y) {
  WorldState& w = g.world;
  if (start != 0 && w.ExplosionOn == 0) {
    w.ExplosionOn = kTrue;
    w.ExplosionX = x;
    w.ExplosionY = y;
    w.ExplosionFrame = 0;
  }
  if (w.ExplosionOn == 0) return;

  const int ex = Px(w.ExplosionX), ey = Px(w.ExplosionY);
  const int f = w.ExplosionFrame;
  DrawMasked(g.form.Field, ex, ey, 64, 64, g.pics.PicExplosion, 64 * f, 0, 64 * f, 64);
  w.ExplosionFrame = Sat16(w.ExplosionFrame + 1);
  if (w.ExplosionFrame >= 27) w.ExplosionOn = kFalse;
  if (w.ExplosionFrame != 9) return;

  DrawMasked(g.form.Terain, ex, ey, 64, 64, g.pics.PicBoomDirt, 0, 0, 64, 0);
  const double cx = w.ExplosionX + 32, cy = w.ExplosionY + 32;
  // Felt on a controller within twice the blast's reach; measured apart from AngleAndDistance,
  // whose results the game keeps.
  const Soldier& p = w.Soldiers[0];
  if (p.Alive != 0 && std::hypot(p.X + 10.0 - cx, p.Y + 10.0 - cy) < 2 * kBlastReach)
    g.plat.Rumble(PlayerFeedback::Jolt::Blast);
  for (int i = 0; i < kSoldierSlots; ++i) {
    Soldier& s = w.Soldiers[i];
    if (s.Alive == 0) continue;
    AngleAndDistance(g, static_cast<double>(s.X) + 10, static_cast<double>(s.Y) + 10, cx, cy);
    const int16_t d = w.DistResult;
    if (d >= kBlastReach) continue;
    s.Health = static_cast<float>(s.Health - static_cast<double>(s.Power - 1) * (kBlastReach - d));
    DeathCheck(g, i);
    double count = 30;
    Blood(g, static_cast<double>(s.X) + 10, static_cast<double>(s.Y) + 10, count, w.AngleResult + 180.0, 5);
  }
  for (int k = 0; k < kSheepInPlay; ++k) {
    SheepRec& sh = w.Sheep[k];
    if (sh.SheepAlive == 0) continue;
    AngleAndDistance(g, static_cast<double>(sh.SheepX) + 11, static_cast<double>(sh.SheepY) + 11, cx, cy);
    if (w.DistResult >= kBlastReach) continue;
    sh.SheepHealth = 0;
    double count = 30;
    Blood(g, static_cast<double>(sh.SheepX) + 11, static_cast<double>(sh.SheepY) + 11, count,
          w.AngleResult + 180.0, 5);
    SheepDeathCheck(g, k);
  }
}

// The aircraft: bomb runs, health and ammo drops for a player in need, and the supply run of a wave.
void AirRaid(Game& g, int16_t healthDrop, int16_t ammoDrop, int16_t bomb, int16_t supplyRun) {
  WorldState& w = g.world;
  Soldier& p = w.Soldiers[0];

  if (healthDrop != 0) {
    StartRaid(g, raid::HealthDrop);
  } else if (ammoDrop != 0) {
    StartRaid(g, raid::AmmoDrop);
  } else if (bomb != 0) {
    StartRaid(g, raid::Bomb);
  } else if (supplyRun != 0) {
    StartRaid(g, raid::SupplyRun);
  }

  if (w.AirRaidOn != 0) {
    w.PlaneX += 10;
    if (w.PlaneX > 300) w.AirRaidOn = kFalse;
    DrawMasked(g.form.Field, Px(w.PlaneX), Px(w.PlaneY), 40, 40, g.pics.PicAirPlane, 0, 0, 40, 0);
    DeliverPayload(g);
  }

  w.AirRaidWait = Sat16(w.AirRaidWait + 1);
  if (w.AirRaidWait > 250) {
    w.AirRaidWait = 0;
    if (p.Health < 40 && w.HealthCrateOn[0] == 0 && StartRaid(g, raid::HealthDrop))
      PlaySound(g, snd::AirPlane, 500);
    if (p.Ammo < 6 && w.AmmoCrateOn[0] == 0 && StartRaid(g, raid::AmmoDrop)) PlaySound(g, snd::AirPlane, 500);
  }

  if (p.Ammo >= 15 && w.HudIconsVisible != 0) {
    Surface& f = g.form.Field;
    DrawMasked(f, 270, 270, 30, 30, g.pics.PicBombIcon, 0, 0, 30, 0);
    char buf[8];
    auto res = std::to_chars(buf, buf + sizeof buf, p.Ammo / 15);
    std::string_view bombs(buf, static_cast<size_t>(res.ptr - buf));
    f.fontSize = 10;
    f.fontBold = true;
    DrawText(g, f, 283, 279, bombs);
    DrawText(g, f, 280, 279, bombs);
    f.fontBold = false;
    f.fontSize = 8;
  }
}

}  // namespace vorlan
