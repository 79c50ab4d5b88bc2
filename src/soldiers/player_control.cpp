#include "soldiers/player_control.h"

#include <cmath>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "platform/key_map.h"
#include "soldiers/soldier_pass.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/field_events.h"

namespace vorlan {

namespace {

// The movement keys: arrows and W, A, S, D.
constexpr int kLeftKeys[] = {dik::Left, dik::A};
constexpr int kRightKeys[] = {dik::Right, dik::D};
constexpr int kUpKeys[] = {dik::Up, dik::W};
constexpr int kDownKeys[] = {dik::Down, dik::S};

bool Held(const InputState& in, const int (&keys)[2]) {
  return in.KeyState[keys[0]] != 0 || in.KeyState[keys[1]] != 0;
}

}  // namespace

// Turns this frame's input into orders on the player's record; the soldier pass carries them out.
void PlayerControl(Game& g) {
  auto& w = g.world;
  auto& in = g.input;
  Soldier& p = w.Soldiers[0];
  if (p.Alive == 0) return;

  // Holding the middle button re-aims the walk order at the cursor every frame.
  if (in.MouseMiddle != 0) {
    AngleAndDistance(g, p.X + 10.0, p.Y + 10.0, in.CursorX, in.CursorY);
    p.WalkDir = w.AngleResult;
    p.WalkLeft = w.DistResult;
    p.TargetX = Sat16(static_cast<long long>(in.CursorX));
    p.TargetY = Sat16(static_cast<long long>(in.CursorY));
  }

  if (p.WalkLeft > 0) {
    DrawMasked(g.form.Field, p.TargetX - 10, p.TargetY - 10, 20, 20, g.pics.PicWalkHere, 0, 0, 20, 0);
  }

  // One press, one request: the flag is consumed even when there is no ammunition for a bomb.
  if (in.MouseRight != 0) {
    if (p.Ammo >= 15) AirRaid(g, kFalse, kFalse, kTrue, kFalse);
    p.WalkLeft = 0;
    in.MouseRight = kFalse;
  }

  if (w.FireModeToggle != 0) {
    w.FireMode = w.FireMode == 1 ? 2 : w.FireMode == 2 ? 3 : 1;
    w.FireModeToggle = kFalse;
  }

  if (p.RechargeLeft < 1 && p.Ammo >= 1 && in.MouseLeft != 0) {
    // The whole burst fires even from the last cartridge; the pass clears a negative count.
    const int shots = w.FireMode < 0 ? 0 : w.FireMode > 3 ? 3 : w.FireMode;
    for (int n = 0; n < shots; ++n) FireBullet(g, 0);
    p.Ammo = Sat16(p.Ammo - w.FireMode);
    p.RechargeLeft = p.RechargeTime;
    if (w.NearestEnemyDist < 100) ProximityExperience(g);
    PlaySoundAt(g, snd::BulletFire, p.X);
  }

  if (p.Facing >= 360) p.Facing = Sat16(p.Facing - 360);
  if (p.Facing < 0) p.Facing = Sat16(p.Facing + 360);

  // Keys move the player directly and cancel any walk order.
  const double s = p.Speed / 10;
  const bool relative = g.options.OptMovementReal == kOptOff;
  const double toRad = g.form.DegToRad;
  auto step = [&](double headingOffset, double ax, double ay) {
    if (relative) {
      const double h = (p.Facing + headingOffset) * toRad;
      p.X = static_cast<float>(p.X + s * std::cos(h));
      p.Y = static_cast<float>(p.Y + s * std::sin(h));
    } else {
      p.X = static_cast<float>(p.X + s * ax);
      p.Y = static_cast<float>(p.Y + s * ay);
    }
    p.WalkLeft = 0;
  };
  if (Held(in, kLeftKeys)) step(-90, -1, 0);
  if (Held(in, kRightKeys)) step(90, 1, 0);
  if (Held(in, kUpKeys)) step(0, 0, -1);
  if (Held(in, kDownKeys)) step(-180, 0, 1);
}

}  // namespace vorlan
