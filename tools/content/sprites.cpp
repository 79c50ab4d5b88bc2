// Sprites of the battlefield: soldiers, sheep, bodies, the aircraft, the cleaner, the explosion
// and the crater, crates and pick-ups, cursors and markers.
#include <array>
#include <cmath>

#include "content.h"
#include "noise.h"

namespace content {
namespace {

constexpr float kLight[2] = {-0.62f, -0.78f};  // light from the upper left, in field coordinates

// Lit colour of a dome: t is the lighting term in [-1, 1].
Rgb Shade(Rgb base, float t) {
  return t >= 0 ? Mix(base, Mix(base, Rgb{1, 1, 0.95f}, 0.55f), t) : Mix(base, Scale(base, 0.45f), -t);
}
// Lighting of a dome of radius r centred at c, seen at p (field coordinates).
float Dome(Vec p, Vec c, float r) {
  float dx = (p.x - c.x) / r, dy = (p.y - c.y) / r;
  return std::clamp(-(dx * kLight[0] + dy * kLight[1]) * 1.1f, -1.f, 1.f);
}

// ---- Soldiers --------------------------------------------------------------------------------

// Parts a kit may carry.
enum : unsigned {
  kBackpack = 1,
  kPads = 2,
  kBand = 4,
  kGoggles = 8,
  kHeavy = 16,
  kScope = 32,
  kPlayerMark = 64
};

struct Kit {
  Rgb uniform, helmet, pack, gear, weapon;
  float shoulders;  // half width across the shoulders
  float gunLength;  // from the centre along the facing
  float gunWidth;
  unsigned parts;
  Rgb bandColor;
  bool Has(unsigned part) const { return (parts & part) != 0; }
};

// Uniforms and gear, the player's first and then enemy levels 0 to 5: later levels look heavier.
// clang-format off
const Kit kKits[] = {
    {RgbOf(40, 104, 190), RgbOf(58, 118, 214), RgbOf(40, 80, 130), RgbOf(30, 60, 100), RgbOf(40, 40, 44),
     6.0f, 9.2f, 0.7f, kBackpack | kBand | kPlayerMark, RgbOf(255, 214, 40)},
    {RgbOf(176, 152, 104), RgbOf(110, 92, 56), RgbOf(130, 110, 70), RgbOf(110, 92, 60), RgbOf(70, 55, 40),
     5.4f, 8.0f, 0.7f, 0, {}},
    {RgbOf(112, 122, 62), RgbOf(66, 76, 34), RgbOf(84, 90, 48), RgbOf(70, 74, 40), RgbOf(50, 46, 40),
     5.6f, 8.4f, 0.7f, kBackpack, {}},
    {RgbOf(96, 106, 98), RgbOf(58, 62, 60), RgbOf(64, 70, 66), RgbOf(48, 52, 50), RgbOf(36, 36, 38),
     5.9f, 8.8f, 0.7f, kBackpack | kPads, {}},
    {RgbOf(50, 82, 46), RgbOf(30, 48, 28), RgbOf(40, 56, 34), RgbOf(30, 40, 28), RgbOf(30, 30, 32),
     6.1f, 9.1f, 0.7f, kBackpack | kPads | kBand, RgbOf(200, 40, 36)},
    {RgbOf(72, 54, 60), RgbOf(36, 36, 42), RgbOf(36, 36, 40), RgbOf(150, 36, 36), RgbOf(24, 24, 26),
     6.3f, 9.4f, 0.7f, kBackpack | kPads | kBand | kGoggles | kScope, RgbOf(220, 40, 40)},
    {RgbOf(150, 34, 34), RgbOf(40, 30, 30), RgbOf(50, 18, 18), RgbOf(212, 170, 60), RgbOf(28, 26, 26),
     6.6f, 9.0f, 1.05f, kBackpack | kPads | kBand | kGoggles | kHeavy, RgbOf(230, 190, 70)},
};
// clang-format on

const Kit& KitFor(int level) { return kKits[level + 1]; }  // -1 = the player

// A shape with a thin dark outline, so parts stay apart at 21 pixels.
void Outlined(Rgba& acc, float d, Rgb c, float w = 0.45f, Rgb edge = {0.08f, 0.08f, 0.06f}) {
  Layer(acc, edge, Cover(d - w));
  Layer(acc, c, Cover(d));
}

// One soldier seen from above at a facing (degrees), centred at c.
Rgba SoldierAt(Vec p, Vec c, float facing, const Kit& k) {
  Vec q = Rot({p.x - c.x, p.y - c.y}, -facing);  // local: x forward, y to the right
  auto world = [&](Vec l) {
    Vec w = Rot(l, facing);
    return Vec{w.x + c.x, w.y + c.y};
  };
  Rgba acc;
  if (k.Has(kBackpack)) {
    Vec bc{-3.4f, 0};
    Outlined(acc, SdBox(q, bc, 1.6f, 3.0f, 0.9f), Shade(k.pack, Dome(p, world(bc), 4.f) * 0.6f));
  }
  // Torso and shoulders, a broad oval across the facing.
  float sh = k.shoulders;
  Outlined(acc, SdEllipse(q, {-0.9f, 0}, 2.7f, sh), Shade(k.uniform, Dome(p, world({-0.9f, 0}), sh) * 0.45f));
  if (k.Has(kPads)) {
    for (float s : {-1.f, 1.f}) {
      Vec pc{-0.8f, s * (sh - 1.5f)};
      Outlined(acc, SdCircle(q, pc, 1.5f), Shade(k.gear, Dome(p, world(pc), 1.6f) * 0.7f), 0.35f);
    }
  }
  if (k.Has(kBand)) {
    // A coloured band on the left shoulder marks rank (the player's is yellow).
    Layer(acc, k.bandColor, Cover(SdBox(q, {-0.8f, -(sh - 1.4f)}, 1.5f, 0.65f, 0.3f)));
  }
  // The weapon along the facing on the right of the centre line, gripped by both hands.
  float gy = 1.3f;
  float gun = SdSegment(q, {0.5f, gy}, {k.gunLength, gy}, k.gunWidth);
  if (k.Has(kHeavy)) gun = std::min(gun, SdCircle(q, {4.0f, gy + 0.9f}, 1.5f));  // drum magazine
  if (k.Has(kScope)) gun = std::min(gun, SdSegment(q, {2.6f, gy - 0.2f}, {5.0f, gy - 0.2f}, 0.95f));
  Layer(acc, RgbOf(10, 10, 10), Cover(gun - 0.35f));
  Layer(acc, Shade(k.weapon, q.y < gy ? 0.5f : -0.1f), Cover(gun));
  // Arms from the shoulders to the hands.
  Rgb arm = Scale(k.uniform, 0.8f);
  Outlined(acc, SdSegment(q, {-0.6f, sh - 1.4f}, {3.2f, gy + 0.6f}, 1.05f), arm, 0.35f);
  Outlined(acc, SdSegment(q, {-0.6f, -(sh - 1.4f)}, {5.8f, gy - 0.4f}, 1.0f), arm, 0.35f);
  Rgb skin = RgbOf(222, 178, 136);
  Layer(acc, skin, Cover(SdCircle(q, {3.4f, gy + 0.3f}, 0.85f)));
  Layer(acc, skin, Cover(SdCircle(q, {6.0f, gy - 0.2f}, 0.8f)));
  // Helmet, lit from the upper left whatever the facing.
  Vec hc{-0.2f, 0};
  float helmet = SdCircle(q, hc, 2.9f);
  Outlined(acc, helmet, Shade(k.helmet, Dome(p, world(hc), 2.9f)), 0.55f);
  if (k.Has(kPlayerMark)) {
    // A bright stripe over the crown from back to front: the player is seen at a glance.
    Layer(acc, k.bandColor, Cover(std::max(helmet + 0.5f, std::fabs(q.y - hc.y) - 0.75f)));
  }
  if (k.Has(kGoggles)) Layer(acc, RgbOf(120, 230, 240), Cover(SdBox(q, {2.2f, 0}, 0.5f, 1.7f, 0.4f)));
  return acc;
}

// One frame per 5 degrees of facing.
std::vector<Sprite> SoldierFrames(int level) {
  const Kit& kit = KitFor(level);
  std::vector<Sprite> frames;
  for (int k = 0; k < 72; ++k) {
    float facing = 5.f * k;
    Canvas r = Render(
        21, 21,
        [&](Vec p) {
          return SoldierAt(p, {10.5f, 10.5f}, facing, kit);
        },
        4);
    frames.push_back(MakeSprite(r));
  }
  return frames;
}

// ---- Sheep -----------------------------------------------------------------------------------

Rgba SheepAt(Vec p, Vec c, float heading, bool dead, uint32_t seed) {
  Vec q = Rot({p.x - c.x, p.y - c.y}, -heading);
  Rgba acc;
  Rgb wool = RgbOf(236, 232, 218), face = RgbOf(40, 36, 34);
  if (dead) {
    // On its side: legs stick out, a pool under it.
    float pool = SdEllipse(q, {0.5f, 2.2f}, 7.0f, 4.6f) + (Fbm(q.x * 0.5f, q.y * 0.5f, seed, 3) - 0.5f) * 4.f;
    Layer(acc, RgbOf(120, 14, 10), Cover(pool));
    for (float lx : {-3.5f, -1.5f, 2.0f, 3.8f})
      Layer(acc, face, Cover(SdSegment(q, {lx, 2.5f}, {lx + 0.6f, 6.4f}, 0.6f)));
  }
  float bump = (Fbm(q.x * 0.9f + 3.f, q.y * 0.9f, seed, 3) - 0.5f) * 1.3f;
  float body = SdEllipse(q, {-1.0f, 0}, 5.6f, 3.9f) + bump;
  float t = Dome(p, {c.x - 1.f, c.y}, 5.5f);
  float curls = Fbm(q.x * 1.8f, q.y * 1.8f, seed + 7, 2);
  Layer(acc, Shade(Scale(wool, 0.88f + curls * 0.2f), t * 0.7f), Cover(body));
  // Head and ears at the front.
  Layer(acc, face, Cover(SdCircle(q, {4.6f, -1.8f}, 0.85f)));
  Layer(acc, face, Cover(SdCircle(q, {4.6f, 1.8f}, 0.85f)));
  Layer(acc, Shade(face, Dome(p, c, 6.f) * 0.5f), Cover(SdEllipse(q, {5.6f, 0}, 1.9f, 1.35f)));
  if (dead) {
    // Blood soaked into the fleece along the wound.
    float wound =
        SdSegment(q, {-3.5f, 1.5f}, {1.5f, 2.8f}, 0.9f) + (Fbm(q.x, q.y, seed + 5, 2) - 0.5f) * 1.5f;
    Layer(acc, RgbOf(150, 22, 16), Cover(wound));
  }
  return acc;
}

// ---- Bodies ----------------------------------------------------------------------------------

Rgba BodyAt(Vec p, float angle, uint32_t seed) {
  Vec c{10.f, 10.f};
  Vec q = Rot({p.x - c.x, p.y - c.y}, -angle);
  Rgba acc;
  float pool =
      SdEllipse(q, {0.5f, 1.5f}, 6.0f, 4.0f) + (Fbm(q.x * 0.45f + 9, q.y * 0.45f, seed, 3) - 0.5f) * 5.f;
  Layer(acc, RgbOf(104, 10, 8), Cover(pool));
  Rgb cloth = RgbOf(116, 118, 78), dark = RgbOf(40, 40, 30);
  // Legs, torso, arms flung out, head.
  Layer(acc, dark, Cover(SdSegment(q, {-1.5f, -1.2f}, {-7.5f, -2.5f}, 1.05f)));
  Layer(acc, dark, Cover(SdSegment(q, {-1.5f, 1.2f}, {-7.2f, 2.8f}, 1.05f)));
  Layer(acc, Shade(cloth, Dome(p, c, 5.f) * 0.6f), Cover(SdBox(q, {1.0f, 0}, 3.0f, 2.6f, 1.2f)));
  Layer(acc, cloth, Cover(SdSegment(q, {2.5f, -2.2f}, {5.0f, -6.0f}, 0.9f)));
  Layer(acc, cloth, Cover(SdSegment(q, {2.5f, 2.2f}, {6.4f, 4.0f}, 0.9f)));
  Layer(acc, RgbOf(214, 170, 130), Cover(SdCircle(q, {5.4f, -6.3f}, 0.8f)));
  float helmet = SdCircle(q, {6.2f, 0.3f}, 2.4f);
  Layer(acc, Shade(RgbOf(80, 84, 56), Dome(p, c, 6.f)), Cover(helmet));
  // The dropped rifle beside him.
  Layer(acc, RgbOf(36, 34, 32), Cover(SdSegment(q, {-3.f, 5.6f}, {5.f, 7.4f}, 0.55f)));
  Layer(acc, RgbOf(150, 16, 12), Cover(SdCircle(q, {0.5f, -0.6f}, 1.1f)));
  return acc;
}

// ---- Vehicles --------------------------------------------------------------------------------

Rgba AirPlaneAt(Vec p) {
  Rgba acc;
  Rgb drab = RgbOf(92, 104, 64), belly = RgbOf(70, 80, 48);
  float t = Dome(p, {20, 20}, 18);
  // Wings (slightly swept) and tailplane.
  Vec w = {p.x - 21.f - std::fabs(p.y - 20.f) * 0.12f, p.y - 20.f};
  float wing = SdBox(w, {0, 0}, 3.6f, 18.5f, 1.6f);
  Layer(acc, Shade(drab, t * 0.6f - 0.1f), Cover(wing));
  Layer(acc, Shade(drab, t * 0.6f - 0.1f), Cover(SdBox(p, {5.5f, 20}, 2.2f, 7.5f, 1.0f)));
  // Roundels on the wings.
  for (float s : {-1.f, 1.f}) {
    Vec rc{22.f, 20.f + s * 12.f};
    Layer(acc, RgbOf(240, 236, 220), Cover(SdCircle(p, rc, 2.6f)));
    Layer(acc, RgbOf(200, 40, 36), Cover(SdCircle(p, rc, 1.4f)));
  }
  // Fuselage with a lit spine.
  float body = SdEllipse(p, {20.5f, 20}, 16.5f, 3.1f);
  Layer(acc, Shade(belly, Dome(p, {20.5f, 19.0f}, 4.f)), Cover(body));
  Layer(acc, RgbOf(60, 70, 42), Cover(SdBox(p, {4.5f, 20}, 1.8f, 0.5f)));  // fin seen edge-on
  // Canopy and engine cowl.
  Layer(acc, Shade(RgbOf(70, 110, 150), Dome(p, {24, 20}, 2.5f)), Cover(SdEllipse(p, {24, 20}, 3.2f, 1.6f)));
  Layer(acc, RgbOf(40, 40, 40), Cover(SdEllipse(p, {35.5f, 20}, 1.6f, 2.4f)));
  // Propeller blur.
  float prop = SdEllipse(p, {37.8f, 20}, 0.8f, 7.0f);
  Layer(acc, RgbOf(170, 170, 160), Cover(prop) * 0.85f);
  Layer(acc, RgbOf(230, 200, 60), Cover(SdCircle(p, {37.8f, 20}, 1.0f)));
  return acc;
}

Rgba CleanerAt(Vec p) {
  Rgba acc;
  Rgb yellow = RgbOf(236, 180, 32), dark = RgbOf(36, 36, 34);
  // Wheels at the sides.
  for (float wx : {5.f, 45.f})
    for (float wy : {12.f, 34.f})
      Layer(acc, Shade(dark, Dome(p, {wx, wy}, 5)), Cover(SdBox(p, {wx, wy}, 3.6f, 6.0f, 1.5f)));
  // Body.
  float body = SdBox(p, {25, 24}, 19.5f, 21.f, 3.f);
  Layer(acc, Shade(yellow, Dome(p, {25, 22}, 22) * 0.5f), Cover(body));
  // Engine grille at the back (top), cab with glass.
  for (int i = 0; i < 5; ++i)
    Layer(acc, RgbOf(90, 70, 20), Cover(SdBox(p, {25, 6.5f + i * 1.8f}, 11.f, 0.45f)));
  Layer(acc, RgbOf(60, 60, 58), Cover(SdBox(p, {25, 27}, 10.f, 8.5f, 2.f)));
  Layer(acc, Shade(RgbOf(90, 140, 170), Dome(p, {25, 27}, 8)), Cover(SdBox(p, {25, 27}, 8.5f, 7.f, 1.5f)));
  Layer(acc, RgbOf(255, 130, 20), Cover(SdCircle(p, {25, 17.5f}, 1.8f)));  // beacon
  // Hazard stripes on the front bumper.
  float bumper = SdBox(p, {25, 45.5f}, 21.f, 2.2f, 0.8f);
  bool stripe = static_cast<int>(std::floor((p.x + p.y) / 3.f)) % 2 == 0;
  Layer(acc, stripe ? RgbOf(240, 200, 30) : RgbOf(30, 30, 30), Cover(bumper));
  // The brush roller that scrubs the ground, spinning bristles.
  float roller = SdBox(p, {25, 54.5f}, 24.f, 6.5f, 2.5f);
  float bristle = 0.5f + 0.5f * std::sin(p.x * 2.4f + std::sin(p.y * 1.7f) * 1.5f);
  Layer(acc, Mix(RgbOf(70, 60, 50), RgbOf(150, 130, 100), bristle * (0.6f + 0.4f * Dome(p, {25, 54}, 8))),
        Cover(roller));
  return acc;
}

// ---- Explosion and crater --------------------------------------------------------------------

Rgba ExplosionAt(Vec p, int f) {
  Rgba acc;
  float dx = p.x - 32, dy = p.y - 32, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
  uint32_t seed = 4242;
  if (f <= 3) {
    // Flash: a white-hot star that grows.
    float rad = 6.f + f * 4.5f;
    float spikes = 0.65f + 0.35f * std::pow(std::fabs(std::sin(a * 4.f + f)), 6.f) +
                   0.25f * ValueNoise(a * 3.f + 10, f * 1.7f, seed);
    float d = r - rad * spikes * 1.3f;
    float heat = std::clamp(1.f - r / (rad * 1.2f), 0.f, 1.f);
    Layer(acc, Mix(RgbOf(255, 200, 60), RgbOf(255, 255, 235), heat), Cover(d, 0.3f));
    return acc;
  }
  if (f <= 12) {
    // Fireball: turbulent yellow core, orange and red rim, growing and cooling.
    float k = (f - 4) / 8.f;
    float rad = 20.f + k * 8.f;
    float n = Fbm(p.x * 0.11f + f * 0.35f, p.y * 0.11f - f * 0.2f, seed + 1, 5);
    float d = r - rad * (0.75f + 0.5f * n);
    float heat = std::clamp(1.f - r / rad + (n - 0.5f) * 0.9f - k * 0.45f, 0.f, 1.f);
    Rgb c = heat > 0.6f ? Mix(RgbOf(255, 170, 40), RgbOf(255, 248, 180), (heat - 0.6f) / 0.4f)
            : heat > 0.25f
                ? Mix(RgbOf(200, 50, 16), RgbOf(255, 170, 40), (heat - 0.25f) / 0.35f)
                : Mix(Mix(RgbOf(150, 44, 14), RgbOf(70, 44, 36), k), RgbOf(210, 60, 16), heat / 0.25f);
    Layer(acc, c, Cover(d, 0.3f));
    return acc;
  }
  // Smoke: grey billows that spread, lighten and break up.
  float k = (f - 13) / 13.f;
  float rad = 26.f + k * 5.f;
  float n = Fbm(p.x * 0.09f + f * 0.12f, p.y * 0.09f - f * 0.18f, seed + 2, 5);
  float puff = r / rad - (n - 0.5f) * 0.9f;
  float thin = 0.12f + k * 0.72f;  // the share of smoke that has cleared
  float d = std::max(puff - 1.f, thin - n * 1.25f + r / rad * 0.25f);
  float ember = std::clamp(0.55f - k * 1.6f - r / rad * 0.4f + (n - 0.5f), 0.f, 1.f);
  Rgb grey = Mix(RgbOf(34, 32, 32), RgbOf(128, 124, 118), std::clamp(k * 0.8f + (n - 0.4f), 0.f, 1.f));
  Rgb c = Mix(grey, RgbOf(210, 80, 20), ember);
  Layer(acc, Shade(c, Dome(p, {32, 32}, rad) * 0.35f), Cover(d * 20.f, 0.3f));
  return acc;
}

Rgba CraterAt(Vec p) {
  Rgba acc;
  float dx = p.x - 32, dy = p.y - 32, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
  uint32_t seed = 777;
  float n = Fbm(p.x * 0.12f, p.y * 0.12f, seed, 5);
  float streak = ValueNoise(a * 5.f, 0.5f, seed + 3) * 0.8f + ValueNoise(a * 13.f, 0.f, seed + 4) * 0.5f;
  // Scorched ground with ragged rays, a raised rim, a dark pit.
  float reach = 18.f + streak * 13.f + (n - 0.5f) * 8.f;
  float scorched = r - reach;
  float speck = Hash01(static_cast<int>(p.x * 1.3f), static_cast<int>(p.y * 1.3f), seed);
  if (r > reach - 6.f && speck < 0.35f) scorched = 1.f;  // the outer scorch crumbles into specks
  Layer(acc, Mix(RgbOf(36, 30, 24), RgbOf(70, 58, 44), n), Cover(scorched, 0.3f));
  // Thrown-up earth: a broken ring of clods, lit on the side facing the light.
  float clods = Fbm(p.x * 0.3f, p.y * 0.3f, seed + 9, 3);
  float rim = std::fabs(r - 13.f - (n - 0.5f) * 6.f) - (1.2f + clods * 2.6f);
  float lit = (dx * kLight[0] + dy * kLight[1]) / (r + 1.f);
  Layer(acc, Shade(Mix(RgbOf(84, 70, 52), RgbOf(120, 100, 74), clods), lit * 0.7f), Cover(rim, 0.3f));
  // The pit: dark, scorched, its far wall catching a little light.
  float pit = r - 10.f - (n - 0.5f) * 5.f;
  Rgb floor = Mix(RgbOf(14, 12, 10), RgbOf(58, 46, 36), std::clamp(r / 11.f, 0.f, 1.f) * (0.6f + n));
  Layer(acc, Shade(floor, -lit * 0.5f), Cover(pit, 0.3f));
  return acc;
}

// ---- Small icons -----------------------------------------------------------------------------

Canvas HealthCrates() {
  Canvas out(14, 7);
  for (int f = 0; f < 2; ++f) {
    Canvas c = Render(7, 7, [f](Vec p) {
      Rgba acc;
      Layer(acc, RgbOf(120, 120, 116));
      Layer(acc, f ? RgbOf(255, 255, 255) : RgbOf(226, 226, 220), Cover(SdBox(p, {3.5f, 3.5f}, 2.9f, 2.9f)));
      Rgb red = f ? RgbOf(255, 40, 40) : RgbOf(200, 20, 24);
      Layer(acc, red,
            Cover(std::min(SdBox(p, {3.5f, 3.5f}, 0.55f, 2.1f), SdBox(p, {3.5f, 3.5f}, 2.1f, 0.55f))));
      return acc;
    });
    out.Put(c, 7 * f, 0);
  }
  return out;
}

Canvas AmmoCrates() {
  Canvas out(18, 7);
  for (int f = 0; f < 2; ++f) {
    Canvas c = Render(9, 7, [f](Vec p) {
      Rgba acc;
      Layer(acc, RgbOf(46, 52, 26));
      Rgb olive = f ? RgbOf(128, 140, 64) : RgbOf(104, 114, 52);
      Layer(acc, olive, Cover(SdBox(p, {4.5f, 3.5f}, 3.9f, 2.9f)));
      for (int i = 0; i < 3; ++i) {
        Vec b{2.2f + i * 2.3f, 3.5f};
        Layer(acc, f ? RgbOf(250, 210, 90) : RgbOf(214, 170, 60), Cover(SdBox(p, b, 0.6f, 1.7f, 0.3f)));
        Layer(acc, RgbOf(170, 90, 40), Cover(SdBox(p, {b.x, 2.0f}, 0.5f, 0.4f)));
      }
      return acc;
    });
    out.Put(c, 9 * f, 0);
  }
  return out;
}

Canvas AcidPickups() {
  Canvas out(14, 7);
  for (int f = 0; f < 2; ++f) {
    Canvas c = Render(7, 7, [f](Vec p) {
      Rgba acc;
      Layer(acc, f ? RgbOf(70, 20, 80) : RgbOf(40, 12, 50));
      // A two-coloured capsule lying across the cell, glowing on the second frame.
      Vec a{1.5f, 5.2f}, b{5.5f, 1.8f};
      float d = SdSegment(p, a, b, 1.45f);
      bool left = (p.x - 3.5f) + (3.5f - p.y) * 0.85f < 0;
      Rgb col = left ? (f ? RgbOf(255, 120, 255) : RgbOf(230, 60, 220))
                     : (f ? RgbOf(140, 255, 150) : RgbOf(70, 220, 90));
      Layer(acc, Shade(col, Dome(p, {3.5f, 3.5f}, 3.f) * 0.6f), Cover(d));
      return acc;
    });
    out.Put(c, 7 * f, 0);
  }
  return out;
}

float SdHeart(Vec p, Vec c, float s) {
  // Two lobes and a point, in a box of about 2s.
  Vec q{(p.x - c.x) / s, (p.y - c.y) / s};
  float lobes = std::min(SdCircle(q, {-0.48f, -0.3f}, 0.52f), SdCircle(q, {0.48f, -0.3f}, 0.52f));
  float ax = std::fabs(q.x);
  float tip = std::max(q.y * 0.62f + ax * 0.78f - 0.62f, -q.y - 0.35f);
  return std::min(lobes, tip) * s;
}

// The drug icons: good (green heart, a plus), bad (purple heart, cracked), mixed (half each).
std::vector<Sprite> DrugIcons() {
  std::vector<Sprite> frames;
  for (int kind = 0; kind < 3; ++kind) {
    Canvas r = Render(30, 30, [kind](Vec p) {
      Rgba acc;
      Rgb good = RgbOf(60, 210, 80), bad = RgbOf(160, 50, 200);
      Rgb col = kind == 0 ? good : kind == 1 ? bad : (p.x < 15 ? good : bad);
      float d = SdHeart(p, {15, 15.5f}, 12.f);
      Layer(acc, RgbOf(20, 20, 20), Cover(d - 1.2f));
      Layer(acc, Shade(col, Dome(p, {15, 14}, 13)), Cover(d));
      if (kind == 0 || kind == 2) {
        Vec c = kind == 0 ? Vec{15, 14} : Vec{10, 13};
        float plus = std::min(SdBox(p, c, 1.2f, 4.f), SdBox(p, c, 4.f, 1.2f));
        Layer(acc, RgbOf(245, 255, 240), Cover(plus));
      }
      if (kind == 1 || kind == 2) {
        // A jagged crack down the heart.
        float x0 = kind == 1 ? 15.f : 20.f;
        float zig = x0 + ((static_cast<int>(p.y / 3.f) % 2) ? 1.5f : -1.5f) * std::fmod(p.y, 3.f) / 3.f;
        float crack = std::max(std::fabs(p.x - zig) - 0.7f, std::fabs(p.y - 15.f) - 8.f);
        Layer(acc, RgbOf(30, 10, 40), Cover(crack));
      }
      return acc;
    });
    frames.push_back(MakeSprite(r));
  }
  return frames;
}

Rgba BombAt(Vec p) {
  Rgba acc;
  // A finned bomb, nose down, with room for the count written over its middle.
  Rgb body = RgbOf(72, 78, 70);
  Layer(acc, RgbOf(50, 54, 48), Cover(SdBox(p, {15, 5.2f}, 6.5f, 2.4f, 0.8f)));
  Layer(acc, RgbOf(50, 54, 48), Cover(SdBox(p, {15, 6.0f}, 1.0f, 4.0f)));
  Layer(acc, Shade(body, Dome(p, {15, 16}, 10)), Cover(SdEllipse(p, {15, 17}, 8.2f, 11.5f)));
  Layer(acc, RgbOf(230, 190, 40),
        Cover(std::max(std::fabs(p.y - 10.5f) - 1.0f, SdEllipse(p, {15, 17}, 8.2f, 11.5f))));
  return acc;
}

Rgba BulletsAt(Vec p) {
  Rgba acc;
  for (int i = 0; i < 3; ++i) {
    float cx = 1.5f + i * 4.f;
    float casing = SdBox(p, {cx, 7.2f}, 1.35f, 3.4f, 0.3f);
    Layer(acc, Shade(RgbOf(214, 168, 60), (cx - 0.5f - p.x) * 0.7f), Cover(casing));
    float tip = std::max(SdBox(p, {cx, 2.4f}, 1.35f, 2.0f), std::fabs(p.x - cx) - (p.y - 0.4f) * 0.75f);
    Layer(acc, Shade(RgbOf(190, 100, 50), (cx - 0.5f - p.x) * 0.7f), Cover(tip));
  }
  return acc;
}

Rgba CrosshairAt(Vec p) {
  Rgba acc;
  Vec c{4.5f, 4.5f};
  float ring = std::fabs(SdCircle(p, c, 3.4f)) - 0.55f;
  float ax = std::fabs(p.x - c.x), ay = std::fabs(p.y - c.y);
  float cross = std::max(std::min(ax - 0.5f, ay - 0.5f), 1.5f - std::max(ax, ay));
  Layer(acc, RgbOf(255, 56, 36), Cover(std::min(ring, cross)));
  Layer(acc, RgbOf(255, 240, 200), Cover(SdCircle(p, c, 0.6f)));
  return acc;
}

Rgba MenuCursorAt(Vec p) {
  Rgba acc;
  Vec c{9, 9};
  float ring = std::fabs(SdCircle(p, c, 5.6f)) - 1.0f;
  float ax = std::fabs(p.x - c.x), ay = std::fabs(p.y - c.y);
  float ticks =
      std::max(std::min(ax - 0.7f, ay - 0.7f), std::max(3.0f - std::max(ax, ay), std::max(ax, ay) - 8.2f));
  float shape = std::min(ring, ticks);
  Layer(acc, RgbOf(20, 30, 20), Cover(shape - 0.8f));
  Layer(acc, Mix(RgbOf(190, 255, 190), RgbOf(120, 220, 130), std::clamp((p.y - 3) / 12.f, 0.f, 1.f)),
        Cover(shape));
  Layer(acc, RgbOf(255, 255, 255), Cover(SdCircle(p, c, 1.1f)));
  return acc;
}

Rgba WalkHereAt(Vec p) {
  Rgba acc;
  Vec c{10, 10};
  float ring = std::fabs(SdCircle(p, c, 7.0f)) - 0.8f;
  // Four chevrons pointing at the target.
  float chev = 1e9f;
  for (int k = 0; k < 4; ++k) {
    Vec q = Rot({p.x - c.x, p.y - c.y}, -90.f * k);
    float d = std::max(std::fabs(std::fabs(q.y) * 0.9f - (q.x - 2.6f)) - 0.65f, std::fabs(q.y) - 2.4f);
    chev = std::min(chev, d);
  }
  float shape = std::min(ring, chev);
  Layer(acc, RgbOf(20, 40, 10), Cover(shape - 0.7f));
  Layer(acc, RgbOf(230, 250, 90), Cover(shape));
  Layer(acc, RgbOf(255, 255, 255), Cover(SdCircle(p, c, 1.0f)));
  return acc;
}

}  // namespace

void WriteSprites(PictureOut& out) {
  auto sheet = [&](const std::string& name, const std::vector<Sprite>& frames) {
    out.Save(name, SheetRow(frames, out.Row(name)));
  };
  sheet("Player.jpg", SoldierFrames(-1));
  for (int level = 0; level <= 5; ++level)
    sheet("AiLVL" + std::to_string(level) + ".jpg", SoldierFrames(level));

  out.Save("Health.jpg", HealthCrates());
  out.Save("Ammo.jpg", AmmoCrates());
  out.Save("Acid.jpg", AcidPickups());
  sheet("AcidHearth.jpg", DrugIcons());
  out.SaveRendered("BombIcon.jpg", BombAt, 4);
  out.SaveRendered("BoomDirt.jpg", CraterAt, 3);

  std::vector<Sprite> blast;
  for (int f = 0; f < 27; ++f)
    blast.push_back(MakeSprite(Render(
        64, 64, [f](Vec p) { return ExplosionAt(p, f); }, 3)));
  sheet("Explosion.jpg", blast);

  out.SaveRendered("AirPlane.jpg", AirPlaneAt, 4);
  out.SaveRendered("Cleaner.jpg", CleanerAt, 4);

  // Four bodies stacked: image column on the left, mask column on the right.
  Canvas dead(40, 80, {0, 0, 0});
  const float angles[4] = {28, 137, 215, 305};
  for (int k = 0; k < 4; ++k) {
    Sprite s = MakeSprite(Render(
        20, 20, [&](Vec p) { return BodyAt(p, angles[k], 900 + k); }, 4));
    dead.Put(s.image, 0, 20 * k);
    dead.Put(s.mask, 20, 20 * k);
  }
  out.Save("Dead.jpg", dead);

  out.SaveRendered("CursorFire.jpg", CrosshairAt, 6);

  // The footprint: only its top-left 2 x 2 pixels are stamped. A mid-dark trodden brown reads as a
  // print on grass, mud, dirt and snow alike without punching black holes into light ground.
  Canvas foot(4, 4, RgbOf(104, 90, 72));
  foot.At(1, 0).c = RgbOf(92, 80, 64);
  foot.At(0, 1).c = RgbOf(112, 98, 80);
  foot.At(1, 1).c = RgbOf(98, 84, 68);
  out.Save("Foot.jpg", foot);

  out.SaveRendered("BulletsOut.jpg", BulletsAt, 6);

  std::vector<Sprite> sheep;
  for (int k = 0; k < 36; ++k) {
    float heading = 10.f * k + 5.f;
    sheep.push_back(MakeSprite(Render(
        23, 16,
        [&](Vec p) {
          return SheepAt(p, {11.5f, 8.f}, heading, false, 31);
        },
        4)));
  }
  sheet("Ovca.jpg", sheep);

  out.SaveRendered(
      "OvcaDead.jpg",
      [](Vec p) {
        return SheepAt(p, {8.5f, 7.5f}, 200.f, true, 33);
      },
      4);
  out.SaveRendered("WalkHere.jpg", WalkHereAt, 4);
  out.SaveRendered("CursorMenu.jpg", MenuCursorAt, 4);
}

// Shared with the help pictures: the bomb icon and the ammunition crate at any size.
Canvas BombPicture(int size) {
  float k = 30.f / size;
  return Render(
      size, size,
      [k](Vec p) {
        Rgba acc = BombAt({p.x * k, p.y * k});
        return acc;
      },
      4);
}

}  // namespace content
