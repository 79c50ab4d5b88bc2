#include "soldiers/soldier_pass.h"

#include <charconv>
#include <cmath>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "soldiers/player_control.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/crates.h"
#include "world/field_events.h"
#include "world/particles.h"

namespace vorlan {

namespace {

// The sprite sheet named by Kind; anything but "AiLVL0".."AiLVL5" looks like the player.
const Surface& SheetOf(const Game& g, const std::string& kind) {
  if (kind.size() == 6 && kind.compare(0, 5, "AiLVL") == 0 && kind[5] >= '0' && kind[5] <= '5') {
    return g.pics.SheetAi[kind[5] - '0'];
  }
  return g.pics.SheetPlayer;
}

void DrawSoldier(Game& g, const Soldier& s) {
  // One frame per 5 degrees; a facing of 360 (or any other full turn) shows the same frame as 0.
  int k = (s.Facing / 5) % 72;
  if (k < 0) k += 72;
  DrawMasked(g.form.Field, Nearest16(s.X), Nearest16(s.Y), 21, 21, SheetOf(g, s.Kind), 21 * k, 0,
             21 * k, 21);
}

// Walks the player into health crates and sends weak enemies to them.
void HealthCratesFor(Game& g, int i) {
  auto& w = g.world;
  Soldier& s = w.Soldiers[i];
  const Soldier& p = w.Soldiers[0];
  for (int j = 0; j < kCrateSlots; ++j) {
    if (w.HealthCrateOn[j] == 0) continue;
    AngleAndDistance(g, s.X + 10.0, s.Y + 10.0, w.HealthCrateX[j] + 3, w.HealthCrateY[j] + 3);
    const int16_t a = w.AngleResult, d = w.DistResult;
    if (d < 10 && Nearest(s.Health) < Sat16(s.Power * 30)) {
      w.HealthCrateOn[j] = kFalse;
      // The bonus follows the player's strength, whoever picks the crate up.
      const double roll = Nearest(Sat16(p.Power * 30) * g.Rnd());
      s.Health = static_cast<float>(s.Health + (25 + std::trunc(roll / 4)));
      PlaySoundAt(g, snd::Health, s.X);
    }
    if (w.HealthCrateOn[j] != 0 && s.Health < Sat16(p.Power * 3) && i > 0) {
      s.WalkDir = a;
      s.WalkLeft = d;
    }
  }
}

// Pairwise push-apart of overlapping soldiers, along each one's own heading reversed.
void Separate(Game& g, int i) {
  auto& w = g.world;
  Soldier& s = w.Soldiers[i];
  const double q = w.Soldiers[0].Speed / 8;
  const double back = (s.WalkDir - 180) * g.form.DegToRad;
  for (int j = 0; j < kSoldierSlots; ++j) {
    if (j == i || w.Soldiers[j].Alive == 0) continue;
    const Soldier& o = w.Soldiers[j];
    AngleAndDistance(g, s.X, s.Y, o.X, o.Y);
    if (w.DistResult < 10) {
      s.X = static_cast<float>(s.X + std::cos(back) * q);
      s.Y = static_cast<float>(s.Y + std::sin(back) * q);
    }
  }
}

// The combat decisions of a live enemy while the player lives.
void EnemyDecisions(Game& g, int i) {
  auto& w = g.world;
  Soldier& s = w.Soldiers[i];
  Soldier& p = w.Soldiers[0];
  AngleAndDistance(g, s.X, s.Y, p.X, p.Y);
  const int16_t a = w.AngleResult, d = w.DistResult;
  s.Facing = a;

  // Melee contact: both sides lose health, the player takes the enemy's rounds.
  if (d < 13) {
    const double hit = p.Melee / 5.0 + p.Power / 10.0;
    s.Health = static_cast<float>(s.Health - hit);
    p.Health = static_cast<float>(p.Health - hit / 3);
    MeleeExperience(g, 1);
    DeathCheck(g, 0);
    p.Ammo = Sat16(p.Ammo + s.Ammo);
    s.Ammo = 0;
    const int16_t cap = Sat16((16 - p.RechargeTime) * 30);
    if (p.Ammo > cap) p.Ammo = cap;
    double count = 5;
    Blood(g, s.X, s.Y, count, Floor(g.Rnd() * 360), 3);
    DeathCheck(g, i);
    if (s.Alive == 0) PlaySoundAt(g, snd::Fight, s.X);
  }

  const double range = s.Range;
  if (range > d && s.Health < Sat16(s.Power * 3)) {
    // Flee: any heading within 90 degrees of straight away from the player.
    s.WalkDir = Nearest16(Floor(g.Rnd() * 180) + (a - 180) - 90);
    s.WalkLeft = 50;
  } else if (range < d && s.WalkLeft < 1) {
    // Approach: the full distance plus a few pixels, roughly toward the player.
    s.WalkDir = Nearest16(Floor(g.Rnd() * 20) + a - 10);
    s.WalkLeft = static_cast<float>(Floor(g.Rnd() * 10) + d);
  }

  if (d < range && s.RechargeLeft < 1 && s.Ammo > 0 && s.X >= 0 && s.X <= 300 && s.Y >= 0 &&
      s.Y <= 300) {
    FireBullet(g, i);
    // A full load fires a double shot.
    if (s.Ammo > Sat16((16 - s.RechargeTime) * 15) - 1) {
      FireBullet(g, i);
      s.Ammo = Sat16(s.Ammo - 1);
    }
    s.Ammo = Sat16(s.Ammo - 1);
    s.RechargeLeft = s.RechargeTime;
    PlaySoundAt(g, snd::BulletFire, s.X);
  }

  // Near or beyond the border: ten pixels back toward the player.
  if (!(s.X >= 4 && s.X <= 290 && s.Y >= 4 && s.Y <= 290)) {
    s.WalkLeft = 10;
    s.WalkDir = a;
  }

  // Unarmed and walking: charge.
  if (s.WalkLeft > 0 && s.Ammo == 0) {
    s.WalkDir = a;
    s.WalkLeft = d;
  }
  if (d < w.NearestEnemyDist) w.NearestEnemyDist = d;
}

// The cleaner runs over soldier i and over the sheep of the same slot number.
void CleanerContact(Game& g, int i) {
  auto& w = g.world;
  Soldier& s = w.Soldiers[i];
  const double cx = w.CleanerX + 17, cy = w.CleanerY + 32;
  AngleAndDistance(g, s.X, s.Y, cx, cy);
  if (w.DistResult < 30) {
    s.Y += 2;
    double count = 5;
    Blood(g, s.X + 10.0, s.Y + 20.0, count, Floor(g.Rnd() * 180), 4);
    s.Health -= 2;
    PlaySoundAt(g, snd::BloodHit, s.X);
    DeathCheck(g, i);
  }
  SheepRec& sh = w.Sheep[i];
  if (sh.SheepAlive == 0) return;
  AngleAndDistance(g, sh.SheepX, sh.SheepY, cx, cy);
  if (w.DistResult < 30) {
    sh.SheepY += 2;
    double count = 5;
    Blood(g, sh.SheepX + 11.0, sh.SheepY + 20.0, count, Floor(g.Rnd() * 180), 4);
    sh.SheepHealth = Sat16(sh.SheepHealth - 4);
    PlaySoundAt(g, snd::BloodHit, sh.SheepX);
    SheepDeathCheck(g, i);
  }
}

// A footprint on the terrain every ten frames, but only where the soldier has moved.
void Footprint(Game& g, int i) {
  auto& w = g.world;
  const Soldier& s = w.Soldiers[i];
  w.FootCount[i] = Sat16(w.FootCount[i] + 1);
  if (w.FootCount[i] <= 9) return;
  auto signature = [&] {
    return Nearest16(2.0 * s.X + std::trunc(Nearest(s.Y) / 2));
  };
  const int sig = signature();
  if (sig > w.FootSig[i] + 2 || sig < w.FootSig[i] - 2) {
    const double r1 = g.Rnd();
    const double r2 = g.Rnd();
    BitBlt(g.form.Terain, Nearest16(Floor(r1 * 10) + s.X + 4), Nearest16(Floor(r2 * 10) + s.Y + 4), 2,
           2, g.pics.FootDC, 0, 0, Rop::SrcCopy);
    w.FootCount[i] = 0;
    w.FootSig[i] = signature();
  }
}

// Ammo crates: fill up to capacity, leave the rest in the crate; low enemies go and fetch one.
void AmmoCratesFor(Game& g, int i) {
  auto& w = g.world;
  Soldier& s = w.Soldiers[i];
  for (int k = 0; k < kCrateSlots; ++k) {
    if (w.AmmoCrateOn[k] == 0) continue;
    AngleAndDistance(g, s.X + 10.0, s.Y + 10.0, w.AmmoCrateX[k] + 4, w.AmmoCrateY[k] + 3);
    const int16_t a = w.AngleResult, d = w.DistResult;
    if (d < 12) {
      s.Ammo = Nearest16(s.Ammo + w.AmmoCrateLeft[k]);
      w.AmmoCrateLeft[k] = s.Ammo - static_cast<double>(Sat16((16 - s.RechargeTime) * 15));
      const double left = w.AmmoCrateLeft[k];
      if (left > 0) s.Ammo = Nearest16(s.Ammo - left);
      if (left > 0 && i == 0) {
        // What stays in the crate, shown beside the player for this frame.
        char text[40];
        const auto res = std::to_chars(text, text + 24, static_cast<long long>(left));
        size_t n = static_cast<size_t>(res.ptr - text);
        for (int b = 0; b < 8; ++b) text[n++] = ' ';
        Surface& f = g.form.Field;
        f.fontSize = 7;
        DrawText(g, f, Nearest16(s.X + 6.0), Nearest16(s.Y + 17.0), std::string_view(text, n), 5);
        f.fontSize = 8;
      }
      if (left < 1) {
        w.AmmoCrateOn[k] = kFalse;
        PlaySoundAt(g, snd::Ammo, s.X);
      }
    }
    if (s.Ammo < 8 && w.AmmoCrateOn[k] != 0 && i > 0) {
      s.WalkDir = a;
      s.WalkLeft = d;
    }
  }
}

}  // namespace

// Once per game frame: the player's control, then every live soldier in slot order.
void SoldierPass(Game& g) {
  auto& w = g.world;
  PlayerControl(g);
  w.NearestEnemyDist = 500;
  w.AliveCount = 0;
  const double toRad = g.form.DegToRad;
  for (int i = 0; i < kSoldierSlots; ++i) {
    Soldier& s = w.Soldiers[i];
    if (s.Alive == 0) continue;
    w.AliveCount = Sat16(w.AliveCount + 1);

    // A soldier that strayed out is pushed back gradually, not set back at once.
    if (s.X < 0) s.X += 2;
    if (s.X > 290) s.X -= 2;
    if (s.Y < 0) s.Y += 2;
    if (s.Y > 290) s.Y -= 2;

    if (s.RechargeLeft > 0) --s.RechargeLeft;

    if (s.WalkLeft > 0) {
      const double step = s.Speed / 10;
      s.WalkLeft = static_cast<float>(s.WalkLeft - step);
      s.X = static_cast<float>(s.X + step * std::cos(s.WalkDir * toRad));
      s.Y = static_cast<float>(s.Y + step * std::sin(s.WalkDir * toRad));
    }

    HealthCratesFor(g, i);

    if (g.timing.FramesLastSecond < 29) w.SeparationOff = kTrue;
    if (w.SeparationOff == 0) Separate(g, i);

    if (i != 0 && w.Soldiers[0].Alive != 0) EnemyDecisions(g, i);

    if (w.CleanerOn != 0) CleanerContact(g, i);

    if (g.options.OptFootSteps == kOptOn) Footprint(g, i);

    AmmoCratesFor(g, i);
    if (w.Soldiers[0].Ammo < 0) w.Soldiers[0].Ammo = 0;

    if (s.WalkDir < 0) s.WalkDir = Sat16(s.WalkDir + 360);
    if (s.WalkDir > 360) s.WalkDir = Sat16(s.WalkDir - 360);

    DrawSoldier(g, s);
  }
}

// Melee experience of the player: every hundred points raise Melee, up to 11.
void MeleeExperience(Game& g, int16_t points) {
  auto& w = g.world;
  if (AnyAcidRunning(w) || points < 1) return;
  Soldier& p = w.Soldiers[0];
  p.MeleeExp = Sat16(p.MeleeExp + points);
  if (p.MeleeExp > 99 && p.Melee < 11) {
    p.Melee = Sat16(p.Melee + 1);
    p.MeleeExp = 0;
    PlaySoundAt(g, snd::LevelUp, 145);
  }
}

// Courage under fire: shooting with an enemy close by raises Power, Range and Speed.
void ProximityExperience(Game& g) {
  auto& w = g.world;
  if (AnyAcidRunning(w)) return;
  Soldier& p = w.Soldiers[0];
  w.NearestEnemyDist = Sat16(100 - w.NearestEnemyDist);
  p.ProxExp = Sat16(p.ProxExp + w.NearestEnemyDist / 20);
  if (p.ProxExp > 99) {
    if (p.Power < 14) {
      p.ProxExp = 0;
      p.Power = Sat16(p.Power + 1);
      p.Range = p.Range + 10;
      p.Speed = p.Speed + 0.5;
      PlaySoundAt(g, snd::LevelUp, 145);
    }
    if (p.ProxExp > 99) p.ProxExp = 100;
  }
}

}  // namespace vorlan
