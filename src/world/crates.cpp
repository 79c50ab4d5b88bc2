#include "world/crates.h"

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "sound/sound_bank.h"
#include "world/bullets.h"
#include "world/field_pixels.h"
#include "world/particles.h"

namespace vorlan {

namespace {

// Crates fall only where they can be seen and reached.
bool OnField(double x, double y) { return !(x < 0 || x > 290 || y < 0 || y > 290); }

// The sound an acid kind makes when taken.
int AcidSound(int kind) {
  static constexpr int kSounds[kAcidKinds] = {snd::AcidGood2, snd::AcidGood1, snd::AcidBad1, snd::AcidBad2};
  return kSounds[kind];
}

}  // namespace

// Drops a health crate near (x, y) when asked, and draws every health crate.
void HealthCrates(Game& g, int16_t drop, double x, double y) {
  if (!OnField(x, y)) return;
  WorldState& w = g.world;
  if (drop != 0) {
    for (int i = 0; i < kCrateSlots; ++i) {
      if (w.HealthCrateOn[i] != 0) continue;
      w.HealthCrateOn[i] = kTrue;
      w.HealthCrateX[i] = ViaSingle(static_cast<float>(x + Floor(15 * g.Rnd())));
      w.HealthCrateY[i] = ViaSingle(static_cast<float>(y + Floor(15 * g.Rnd())));
      break;
    }
  }
  for (int i = 0; i < kCrateSlots; ++i) {
    if (w.HealthCrateOn[i] != kTrue) continue;
    int frame = static_cast<int>(Floor(2 * g.Rnd()));
    BitBlt(g.form.Field, Px(w.HealthCrateX[i]), Px(w.HealthCrateY[i]), 7, 7, g.pics.PicHealth, 7 * frame, 0,
           Rop::SrcCopy);
  }
}

// Drops the dead soldier's ammunition (one round less) as a crate, and draws every ammo crate.
void AmmoCrates(Game& g, int16_t drop, double x, double y, int16_t& ammo) {
  if (!OnField(x, y)) return;
  WorldState& w = g.world;
  ammo = Sat16(ammo - 1);
  if (drop != 0 && ammo > 0) {
    for (int i = 0; i < kCrateSlots; ++i) {
      if (w.AmmoCrateOn[i] != 0) continue;
      w.AmmoCrateOn[i] = kTrue;
      w.AmmoCrateX[i] = ViaSingle(static_cast<float>(x + Floor(15 * g.Rnd())));
      w.AmmoCrateY[i] = ViaSingle(static_cast<float>(y + Floor(15 * g.Rnd())));
      w.AmmoCrateLeft[i] = ammo < 50 ? ammo : 50;
      break;
    }
  }
  for (int i = 0; i < kCrateSlots; ++i) {
    if (w.AmmoCrateOn[i] != kTrue) continue;
    int frame = static_cast<int>(Floor(2 * g.Rnd()));
    BitBlt(g.form.Field, Px(w.AmmoCrateX[i]), Px(w.AmmoCrateY[i]), 9, 7, g.pics.PicAmmo, 9 * frame, 0,
           Rop::SrcCopy);
  }
}

namespace {

// A dead soldier in slot may leave a pick-up of a random kind, unless one of that kind lies out.
void DropAcid(Game& g, int slot) {
  WorldState& w = g.world;
  if (slot < 0 || slot >= kSoldierSlots) return;
  int k = static_cast<int>(Floor(4 * g.Rnd()));
  if (w.AcidOn[k] != 0) return;
  const Soldier& s = w.Soldiers[slot];
  w.AcidOn[k] = kTrue;
  w.AcidX[k] = ViaSingle(static_cast<float>(Floor(10 * g.Rnd()) + s.X - 5));
  w.AcidY[k] = ViaSingle(static_cast<float>(Floor(10 * g.Rnd()) + s.Y - 5));
}

// Draws the pick-ups; the first one the player touches starts its effect.
void TakeAcidPickUps(Game& g) {
  WorldState& w = g.world;
  const Soldier& p = w.Soldiers[0];
  for (int k = 0; k < kAcidKinds; ++k) {
    if (w.AcidOn[k] != kTrue) continue;
    int frame = static_cast<int>(Floor(2 * g.Rnd()));
    BitBlt(g.form.Field, Px(w.AcidX[k]), Px(w.AcidY[k]), 7, 7, g.pics.PicAcid, 7 * frame, 0, Rop::SrcCopy);
    AngleAndDistance(g, w.AcidX[k] + 3, w.AcidY[k] + 3, static_cast<double>(p.X) + 10,
                     static_cast<double>(p.Y) + 10);
    if (w.DistResult < 10) {
      w.AcidOn[k] = kFalse;
      PlaySoundAt(g, snd::Health, p.X);
      w.AcidTimer[k] = 600;
      PlaySoundAt(g, snd::AcidPickUp, p.X);
      PlaySound(g, AcidSound(k), 500);
      PlaySoundAt(g, snd::Heart, p.X);
      break;
    }
  }
}

// One drop of the player's blood: the bad kinds make him bleed.
void BleedDrop(Game& g, const Soldier& p) {
  double count = 1;
  double dir = Floor(360 * g.Rnd());
  Blood(g, static_cast<double>(p.X) + 10, static_cast<double>(p.Y) + 10, count, dir, 5);
}

// One frame of the effect of a running kind; its timer counts down.
void AcidEffect(Game& g, int kind) {
  WorldState& w = g.world;
  Soldier& p = w.Soldiers[0];
  switch (kind) {
    case acid::Ammo:
      if (w.AcidTimer[kind] == 600) p.Ammo = 333;
      --w.AcidTimer[kind];
      p.RechargeLeft = 0;
      break;
    case acid::Health:
      --w.AcidTimer[kind];
      p.Health = static_cast<float>(Floor(11 * g.Rnd()) + 30.0 * p.Power - 5);
      break;
    case acid::Shakes:
      --w.AcidTimer[kind];
      p.X = static_cast<float>(p.X + Floor(5 * g.Rnd()) - 2);
      p.Y = static_cast<float>(p.Y + Floor(5 * g.Rnd()) - 2);
      BleedDrop(g, p);
      break;
    case acid::Jitter:
      --w.AcidTimer[kind];
      p.X = static_cast<float>(p.X + Floor(3 * g.Rnd()) - 1);
      p.Y = static_cast<float>(p.Y + Floor(3 * g.Rnd()) - 1);
      g.input.CursorX += static_cast<int32_t>(Floor(3 * g.Rnd())) - 1;
      g.input.CursorY += static_cast<int32_t>(Floor(3 * g.Rnd())) - 1;
      // The trigger goes off by itself now and then.
      if (Floor(5 * g.Rnd()) == 1) g.input.MouseLeft = kTrue;
      p.Health = static_cast<float>(p.Health + Floor(3 * g.Rnd()) - 1);
      BleedDrop(g, p);
      break;
  }
}

// The heart icon: its picture tells good, bad or both kinds running.
void DrawAcidIcon(Game& g) {
  const WorldState& w = g.world;
  bool good = w.AcidTimer[acid::Ammo] >= 1 || w.AcidTimer[acid::Health] >= 1;
  bool bad = w.AcidTimer[acid::Shakes] >= 1 || w.AcidTimer[acid::Jitter] >= 1;
  if (w.HudIconsVisible != 0 && (good || bad)) {
    int sx = good && bad ? 60 : bad ? 30 : 0;
    int ix = Px(w.AcidIconX);
    DrawMasked(g.form.Field, ix, 270, 30, 30, g.pics.PicAcidHearth, sx, 0, sx, 30);
  }
}

}  // namespace

// Acid pick-ups: the drop of a dead soldier, the player taking one, the four effects and the icon.
void Acid(Game& g, int16_t drop, int slot) {
  WorldState& w = g.world;
  const Soldier& p = w.Soldiers[0];
  // A drop comes from a death in the middle of the frame; the effects run once per frame.
  if (drop != 0) {
    DropAcid(g, slot);
    return;
  }
  TakeAcidPickUps(g);

  w.AcidIconX = p.Ammo < 15 ? 270 : 240;
  w.HudIconsVisible = Bool16(!(p.X >= 220 && p.Y >= 260));

  for (int k = 0; k < kAcidKinds; ++k) {
    if (w.AcidTimer[k] < 1) continue;
    AcidEffect(g, k);
    if (w.AcidTimer[k] == 0) StopSound(g, snd::Heart);
  }
  DrawAcidIcon(g);
}

bool AnyAcidRunning(const WorldState& w) {
  for (int16_t t : w.AcidTimer)
    if (t >= 1) return true;
  return false;
}

}  // namespace vorlan
