#include "world/bullets.h"

#include <cmath>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "sound/sound_bank.h"
#include "world/crates.h"
#include "world/field_events.h"
#include "world/field_pixels.h"
#include "world/particles.h"
#include "world/status_lines.h"

namespace vorlan {

namespace {

// The angle helper's own pi: its arctan is scaled by pi x 18, not by 180 / pi.
constexpr double kPi = 3.14159265358979;

constexpr Color kTrailColor = Rgb(235, 255, 0);
constexpr Color kHeadColor = Rgb(255, 255, 0);
constexpr Color kFallenColor = Rgb(128, 64, 64);
constexpr Color kCasing1Color = Rgb(255, 255, 0);
constexpr Color kCasing2Color = Rgb(192, 192, 0);

// The bullet pass asks for thousands of distances per frame but only the last call's angle can
// ever be read, so it tests distances directly and settles AngleResult and DistResult once,
// before anything else may look at them.
struct DeferredAngle {
  bool any = false, anyApart = false;
  double last[4] = {}, apart[4] = {};

  // DistResult of AngleAndDistance for these points, or limit when it is limit or more;
  // the points are remembered for Settle.
  int16_t Dist(double x1, double y1, double x2, double y2, int limit) {
    any = true;
    last[0] = x1, last[1] = y1, last[2] = x2, last[3] = y2;
    if (x1 != x2 || y1 != y2) {
      anyApart = true;
      apart[0] = x1, apart[1] = y1, apart[2] = x2, apart[3] = y2;
    }
    double dx = x1 - x2, dy = y1 - y2;
    double d2 = dx * dx + dy * dy;
    // A distance of limit or more rounds to limit or more: no need for the exact value.
    if (!(d2 < static_cast<double>(limit) * limit)) return static_cast<int16_t>(limit);
    return Nearest16(std::sqrt(d2));
  }
  // Leaves AngleResult and DistResult as the calls made so far would have.
  void Settle(Game& g) {
    if (!any) return;
    // Coinciding points keep the previous angle, so the last call with distinct points sets it.
    if (anyApart) AngleAndDistance(g, apart[0], apart[1], apart[2], apart[3]);
    AngleAndDistance(g, last[0], last[1], last[2], last[3]);
    any = anyApart = false;
  }
};

}  // namespace

// Direction from the first point towards the second, in whole degrees, and their distance.
int16_t AngleAndDistance(Game& g, double x1, double y1, double x2, double y2) {
  WorldState& w = g.world;
  if (x2 > x1 && y2 == y1) {
    w.AngleResult = 0;
  } else if (x2 == x1 && y2 > y1) {
    w.AngleResult = 90;
  } else if (x2 < x1 && y2 == y1) {
    w.AngleResult = 180;
  } else if (x2 == x1 && y2 < y1) {
    w.AngleResult = 270;
  } else if (x2 != x1 || y2 != y1) {
    int16_t a = Nearest16(std::fabs(std::atan((x2 - x1) / (y2 - y1)) * kPi * 18));
    if (x2 > x1 && y2 > y1) {
      w.AngleResult = Sat16(90 - a);
    } else if (x2 < x1 && y2 > y1) {
      w.AngleResult = Sat16(a + 90);
    } else if (x2 < x1 && y2 < y1) {
      w.AngleResult = Sat16(270 - a);
    } else if (x2 > x1 && y2 < y1) {
      w.AngleResult = Sat16(a + 270);
    }
  }
  // Same point (or no number at all): the angle keeps its previous value.
  double dx = x1 - x2, dy = y1 - y2;
  w.DistResult = Nearest16(std::sqrt(dx * dx + dy * dy));
  return w.AngleResult;
}

// One bullet for the soldier in slot, along its facing with its spread, range and power.
void FireBullet(Game& g, int slot) {
  if (slot < 0 || slot >= kSoldierSlots) return;
  WorldState& w = g.world;
  const Soldier& s = w.Soldiers[slot];
  int i = 0;
  while (i < kBulletSlots && w.Bullets[i].BulletRange >= 1) ++i;
  if (i == kBulletSlots) return;
  Bullet& b = w.Bullets[i];
  const double d2r = g.form.DegToRad;

  b.BulletOwner = static_cast<int16_t>(slot);
  float r = static_cast<float>(g.Rnd());
  float angle;
  if (w.AcidTimer[acid::Ammo] >= 1 && slot == 0) {
    angle = r * 30.0f + static_cast<float>(s.Facing) - 15.0f;
  } else {
    angle =
        r * static_cast<float>(s.Spread) + static_cast<float>(s.Facing) - static_cast<float>(s.Spread / 2);
  }
  b.BulletAngle = ViaSingle(angle);
  double muzzle = (s.Facing - 50) * d2r;
  b.BulletX = static_cast<double>(s.X) + 10 + 3 * std::cos(muzzle);
  b.BulletY = static_cast<double>(s.Y) + 10 + 3 * std::sin(muzzle);
  b.BulletDX = static_cast<float>(std::cos(b.BulletAngle * d2r));
  b.BulletDY = static_cast<float>(std::sin(b.BulletAngle * d2r));
  b.BulletRange = Nearest16(s.Range + 7 * g.Rnd());
  b.BulletSpeed = s.Power;

  // Shell casings stay on the ground.
  if (Floor(3 * g.Rnd()) == 0) {
    double r1 = g.Rnd(), r2 = g.Rnd();
    SetPixelV(g.form.Terain, Px(b.BulletX + 10 * r1 - 5), Px(b.BulletY + 10 * r2 - 5), kCasing1Color);
  }
  if (Floor(3 * g.Rnd()) == 0) {
    double r1 = g.Rnd(), r2 = g.Rnd();
    SetPixelV(g.form.Terain, Px(b.BulletX + 10 * r1 - 5), Px(b.BulletY + 10 * r2 - 5), kCasing2Color);
  }
}

namespace {

// The bullet loses range by its speed; at the end of it, it falls where it stands, without
// moving or hitting anything this frame. True when it fell.
bool BulletFalls(Game& g, Bullet& b) {
  b.BulletRange = Sat16(static_cast<int>(b.BulletRange) - b.BulletSpeed);
  if (b.BulletRange >= 1) return false;
  SetPixelV(g.form.Terain, Px(b.BulletX), Px(b.BulletY), kFallenColor);
  PlaySoundAt(g, snd::BulletFireMiss, b.BulletX);
  if (b.BulletOwner == 0) AimStreak(g, kFalse);
  return true;
}

// One pixel per step of its speed, each leaving a trail pixel when trails are on.
void FlyBullet(Game& g, Bullet& b, bool trails) {
  for (int step = 0; step < b.BulletSpeed; ++step) {
    b.BulletX += static_cast<double>(b.BulletDX);
    b.BulletY += static_cast<double>(b.BulletDY);
    if (trails) SetPixelV(g.form.Field, Px(b.BulletX), Px(b.BulletY), kTrailColor);
  }
}

// The bullet has struck soldier j: score, aim, blood, damage and maybe death.
void HitSoldier(Game& g, Bullet& b, int j) {
  WorldState& w = g.world;
  Soldier& s = w.Soldiers[j];
  const bool byPlayer = b.BulletOwner == 0;
  if (s.Health > 0 && byPlayer) w.Score = Sat16(w.Score + (s.Power - 2) / 2);
  b.BulletRange = 0;
  if (byPlayer) AimStreak(g, kTrue);
  if (b.BulletSpeed < 8) {
    double count = 40;
    Blood(g, static_cast<double>(s.X) + 10, static_cast<double>(s.Y) + 10, count, b.BulletAngle,
          b.BulletSpeed);
    count = 40;
    Blood(g, static_cast<double>(s.X) + 10, static_cast<double>(s.Y) + 10, count, b.BulletAngle, 7);
  }
  int owner = b.BulletOwner >= 0 && b.BulletOwner < kSoldierSlots ? b.BulletOwner : 0;
  s.Health = static_cast<float>(s.Health - 3.0 * w.Soldiers[owner].Power);
  PlaySoundAt(g, snd::Damage1 + static_cast<int>(Floor(6 * g.Rnd())), s.X);
  if (j == 0) g.plat.Rumble(PlayerFeedback::Jolt::Hit);
  DeathCheck(g, j);
  // Only the player's kills count.
  if (j >= 1 && s.Health < 1 && !byPlayer) w.GameKills = Sat16(w.GameKills - 1);
}

// Soldiers. A bullet that stopped still takes part in the remaining tests of this frame, and
// the cleaner stops it before each live soldier is tested.
void HitSoldiers(Game& g, Bullet& b, DeferredAngle& da) {
  WorldState& w = g.world;
  for (int j = 0; j < kSoldierSlots; ++j) {
    const Soldier& s = w.Soldiers[j];
    if (s.Alive == 0 || j == b.BulletOwner) continue;
    if (w.CleanerOn != 0 && da.Dist(b.BulletX, b.BulletY, w.CleanerX + 17, w.CleanerY + 35, 29) < 29) {
      b.BulletRange = 0;
      PlaySoundAt(g, snd::BugerHit, w.CleanerX + 14);
      continue;
    }
    if (da.Dist(b.BulletX, b.BulletY, static_cast<double>(s.X) + 10, static_cast<double>(s.Y) + 10, 8) >= 8)
      continue;
    da.Settle(g);
    HitSoldier(g, b, j);
  }
}

void HitSheep(Game& g, Bullet& b, DeferredAngle& da) {
  WorldState& w = g.world;
  for (int k = 0; k < kSheepInPlay; ++k) {
    SheepRec& sh = w.Sheep[k];
    if (sh.SheepAlive == 0) continue;
    if (da.Dist(b.BulletX, b.BulletY, static_cast<double>(sh.SheepX) + 11,
                static_cast<double>(sh.SheepY) + 11, 10) >= 10)
      continue;
    da.Settle(g);
    b.BulletRange = 0;
    sh.SheepSpeed = Sat16(sh.SheepSpeed + 4);
    double count = 40;
    Blood(g, static_cast<double>(sh.SheepX) + 11, static_cast<double>(sh.SheepY) + 11, count, b.BulletAngle,
          b.BulletSpeed);
    sh.SheepHealth = Nearest16(sh.SheepHealth - Floor(50 * g.Rnd()) - 30);
    if (b.BulletOwner == 0) w.Score = Sat16(w.Score + 1);
    SheepDeathCheck(g, k);
  }
}

}  // namespace

// The per-frame bullet pass: flight, trails, hits on soldiers and sheep, fallen bullets.
void MoveBullets(Game& g) {
  const bool trails = g.options.OptBulletFly == kOptOn;
  DeferredAngle da;
  for (Bullet& b : g.world.Bullets) {
    if (b.BulletRange < 1 || BulletFalls(g, b)) continue;
    FlyBullet(g, b, trails);
    HitSoldiers(g, b, da);
    HitSheep(g, b, da);
    SetPixelV(g.form.Field, Px(b.BulletX), Px(b.BulletY), kHeadColor);
  }
  da.Settle(g);
}

// A soldier whose health fell below 1 dies here and leaves its body, crates and maybe acid.
void DeathCheck(Game& g, int slot) {
  if (slot < 0 || slot >= kSoldierSlots) return;
  WorldState& w = g.world;
  Soldier& s = w.Soldiers[slot];
  // A soldier dies once: a later check in the same frame must not count the kill again.
  if (s.Alive == 0 || !(s.Health < 1)) return;

  s.Health = 0;
  s.Alive = kFalse;
  if (slot >= 1) {
    w.GameKills = Sat16(w.GameKills + 1);
    KillsInRow(g, kTrue);
  }
  if (Floor(13 * g.Rnd()) == 1) Acid(g, kTrue, slot);
  int k = static_cast<int>(Floor(4 * g.Rnd()));
  if (g.options.OptBloodStays == kOptOn)
    DrawMasked(g.form.Terain, Px(s.X), Px(s.Y), 20, 20, g.pics.PicDead, 0, 20 * k, 20, 20 * k);
  if (Floor(3 * g.Rnd()) == 1) HealthCrates(g, kTrue, s.X, s.Y);
  AmmoCrates(g, kTrue, s.X, s.Y, s.Ammo);
  w.ScoreInfoShow = kTrue;
}

// Records a hit or a miss of the player's bullet; a good streak sharpens the aim.
void AimStreak(Game& g, int16_t hit) {
  WorldState& w = g.world;
  if (AnyAcidRunning(w)) return;
  for (int i = 9; i >= 2; --i) w.HitHistory[i] = w.HitHistory[i - 1];
  w.HitHistory[1] = hit != 0 ? 1 : 0;
  int16_t count = 0;
  for (int16_t h : w.HitHistory)
    if (h == 1) ++count;
  w.HitHistoryCount = count;

  Soldier& p = w.Soldiers[0];
  if (hit != 0) p.AimExp = Sat16(p.AimExp + w.HitHistoryCount);
  if (p.AimExp > 99) {
    if (p.Spread >= 0) {
      p.AimExp = 0;
      p.Spread = Sat16(p.Spread - 3);
      PlaySoundAt(g, snd::LevelUp, 145);
    }
    if (p.AimExp > 99) p.AimExp = 100;
  }
}

// Shows how many bullets one trigger pull fires, beside the acid and bomb icons.
void FireModeIcon(Game& g) {
  const WorldState& w = g.world;
  if (w.HudIconsVisible == 0) return;
  const bool lowAmmo = w.Soldiers[0].Ammo < 15;
  int b = lowAmmo ? 270 : 240;
  if (AnyAcidRunning(w)) b = lowAmmo ? 240 : 210;
  int width = w.FireMode == 1 ? 4 : w.FireMode == 2 ? 8 : w.FireMode == 3 ? 11 : 0;
  if (width == 0) return;
  DrawMasked(g.form.Field, b + 10, 282, width, 11, g.pics.PicBulletsOut, 0, 0, 0, 11);
}

}  // namespace vorlan
