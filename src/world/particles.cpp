#include "world/particles.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"
#include "sound/sound_bank.h"
#include "world/field_pixels.h"

namespace vorlan {

namespace {

constexpr Color kBloodFlying = Rgb(255, 0, 0);
constexpr Color kBloodDot1 = Rgb(255, 0, 0);
constexpr Color kBloodDot2 = Rgb(207, 72, 44);
constexpr Color kFlakeFlying = Rgb(255, 255, 255);

// Settled flakes are shaded by their size.
Color FlakeShade(int16_t size) {
  switch (size) {
    case 2:
      return Rgb(224, 224, 224);
    case 3:
      return Rgb(255, 255, 255);
    case 4:
    case 5:
      return Rgb(192, 192, 192);
    default:
      return Rgb(128, 128, 128);
  }
}

// Directions drift freely; keeping them in one turn changes nothing but keeps them in range.
int16_t WrapDegrees(int v) {
  v %= 360;
  if (v < 0) v += 360;
  return static_cast<int16_t>(v);
}

}  // namespace

// Throws a fan of count drops from (x, y) when count is above 0, then moves and draws every drop.
void Blood(Game& g, double x, double y, double& count, double direction, int kind) {
  WorldState& w = g.world;
  const double d2r = g.form.DegToRad;

  if (count > 0) {
    if (count > 15) PlaySoundAt(g, snd::BloodHit, x);
    const double fan = Floor(80 * g.Rnd());
    const int half = static_cast<int>(fan) / 2;
    for (int i = 0; i < kBloodSlots; ++i) {
      if (w.BloodLife[i] >= 1) continue;
      count -= 1;
      w.BloodX[i] = static_cast<float>(x);
      w.BloodY[i] = static_cast<float>(y);
      if (direction < 1) {
        w.BloodDir[i] = Nearest16(360 * g.Rnd());
      } else {
        w.BloodDir[i] = Nearest16(direction + fan * g.Rnd() - half);
      }
      w.BloodSpeed[i] = kind / 3;
      w.BloodLife[i] = Nearest16(15 * g.Rnd() + 5);
      if (count < 1) break;
    }
  }

  if (direction == -2) return;
  const bool flying = g.options.OptBloodFly == kOptOn;
  const bool stays = g.options.OptBloodStays == kOptOn && g.form.InGame != 0 && g.form.Paused == 0;
  for (int i = 0; i < kBloodSlots; ++i) {
    if (w.BloodLife[i] < 1) continue;
    --w.BloodLife[i];
    const double a = w.BloodDir[i] * d2r;
    w.BloodX[i] = static_cast<float>(w.BloodX[i] + std::cos(a) * w.BloodSpeed[i]);
    w.BloodY[i] = static_cast<float>(w.BloodY[i] + std::sin(a) * w.BloodSpeed[i]);
    if (w.BloodLife[i] > 0) {
      if (flying) SetPixelV(g.form.Field, Px(w.BloodX[i]), Px(w.BloodY[i]), kBloodFlying);
    } else if (stays) {
      Color c = Floor(2 * g.Rnd()) == 0 ? kBloodDot1 : kBloodDot2;
      SetPixelV(g.form.Terain, Px(w.BloodX[i]), Px(w.BloodY[i]), c);
    }
  }
}

// Snow drifting in from the top and left, as dense as the spare time of the frames allows.
void Snow(Game& g) {
  WorldState& w = g.world;
  const double d2r = g.form.DegToRad;

  if (g.timing.MaxIdleSpins > 10000) {
    if (w.SnowCount >= 950) {
      w.SnowCount = Sat16(w.SnowCount - 20);
    } else {
      double n = w.SnowCount;
      if (n < 41) n = Nearest(n + g.Rnd());
      if (n > 40) n = Nearest(n + 4 * g.Rnd() - 2);
      if (n > 50) n = Nearest(n + 8 * g.Rnd() - 4);
      if (n > 250) n = Nearest(n + 16 * g.Rnd() - 8);
      const int16_t prox = w.Soldiers[0].ProxExp;
      if (prox < 30) n -= 2;
      if (prox > 74) n += 2;
      if (n < 0) n = 0;
      w.SnowCount = Sat16(n);
    }
  } else if (w.SnowCount > 0) {
    --w.SnowCount;
  }

  if (w.SnowCount < 1) return;
  const int last = std::min<int>(w.SnowCount, kSnowSlots - 1);
  for (int i = 0; i <= last; ++i) {
    Flake& f = w.SnowFlakes[i];
    if (f.FlakeOn == 0) {
      f.FlakeOn = kTrue;
      if (Floor(2 * g.Rnd()) == 0) {
        f.FlakeX = Floor(300 * g.Rnd());
        f.FlakeY = -15;
        f.FlakeDir = static_cast<int16_t>(Floor(60 * g.Rnd()) + 30);
      } else {
        f.FlakeX = -15;
        f.FlakeY = Floor(300 * g.Rnd());
        f.FlakeDir = static_cast<int16_t>(Floor(50 * g.Rnd()) + 20);
      }
      f.FlakeSize = static_cast<int16_t>(Floor(5 * g.Rnd()) + 2);
      f.FlakeLand = static_cast<int16_t>(Floor(300 * g.Rnd()));
    } else if (f.FlakeX > 300 || f.FlakeY > 300) {
      f.FlakeOn = kFalse;
    } else {
      f.FlakeDir = WrapDegrees(f.FlakeDir + static_cast<int>(Floor(9 * g.Rnd())) - 4);
      const double a = f.FlakeDir * d2r;
      f.FlakeX += std::cos(a) * f.FlakeSize;
      f.FlakeY += std::sin(a) * f.FlakeSize;
      if (f.FlakeY < f.FlakeLand) {
        SetPixelV(g.form.Field, Px(f.FlakeX), Px(f.FlakeY), kFlakeFlying);
      } else {
        SetPixelV(g.form.Terain, Px(f.FlakeX), Px(f.FlakeY), FlakeShade(f.FlakeSize));
        f.FlakeOn = kFalse;
      }
    }
  }
}

}  // namespace vorlan
