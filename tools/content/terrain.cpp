// Ground photographs for the terrain maps, and the cleaned strip the cleaner leaves behind.
#include <cmath>

#include "content.h"
#include "noise.h"

namespace content {
namespace {

// Distances to the nearest and second nearest point of a jittered grid (cells of size cell).
void Cells(float x, float y, float cell, uint32_t seed, float& f1, float& f2, Vec* nearest = nullptr) {
  int cx = static_cast<int>(std::floor(x / cell)), cy = static_cast<int>(std::floor(y / cell));
  f1 = f2 = 1e9f;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      float px = (cx + i + Hash01(cx + i, cy + j, seed)) * cell;
      float py = (cy + j + Hash01(cx + i, cy + j, seed + 99)) * cell;
      float d = std::hypot(x - px, y - py);
      if (d < f1) {
        f2 = f1;
        f1 = d;
        if (nearest) *nearest = {px, py};
      } else if (d < f2) {
        f2 = d;
      }
    }
}

// Short strokes (grass blades, straw, scratches) scattered over a canvas.
void Strokes(Canvas& c, uint32_t seed, int count, float minLen, float maxLen, Rgb a, Rgb b, float opacity,
             float dirBias = -1.f) {
  Rng rng(seed);
  for (int n = 0; n < count; ++n) {
    float x = rng.Range(0, c.W()), y = rng.Range(0, c.H());
    float ang = dirBias >= 0 ? dirBias + rng.Range(-0.6f, 0.6f) : rng.Range(0, 6.2832f);
    float len = rng.Range(minLen, maxLen);
    Rgb col = Mix(a, b, rng.Uniform());
    int steps = static_cast<int>(len * 2) + 1;
    for (int s = 0; s <= steps; ++s) {
      float t = s / float(steps);
      int px = static_cast<int>(x + std::cos(ang) * len * t),
          py = static_cast<int>(y + std::sin(ang) * len * t);
      c.Blend(px, py, col, opacity * (1.f - 0.5f * t));
    }
  }
}

Canvas Meadow(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float big = Fbm(x * 0.012f, y * 0.012f, 11, 4);
      float mid = Fbm(x * 0.06f, y * 0.06f, 12, 4);
      float fine = Hash01(x, y, 13);
      Rgb base = Mix(RgbOf(46, 78, 30), RgbOf(110, 146, 58), std::clamp(big * 1.3f - 0.15f, 0.f, 1.f));
      base = Mix(base, RgbOf(132, 128, 70), std::clamp((mid - 0.62f) * 3.f, 0.f, 0.6f));  // dry patches
      c.At(x, y).c = Scale(base, 0.85f + 0.3f * mid * (0.8f + 0.4f * fine));
    }
  Strokes(c, 14, w * h / 2, 1.5f, 4.5f, RgbOf(30, 62, 22), RgbOf(150, 190, 80), 0.55f);
  // A few flowers.
  Rng rng(15);
  for (int n = 0; n < w * h / 900; ++n) {
    int x = static_cast<int>(rng.Range(0, w)), y = static_cast<int>(rng.Range(0, h));
    Rgb col = rng.Uniform() < 0.6f ? RgbOf(240, 220, 70) : RgbOf(240, 240, 240);
    c.Blend(x, y, col, 0.9f);
    c.Blend(x + 1, y, col, 0.5f);
  }
  return c;
}

Canvas Mud(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float big = Fbm(x * 0.015f, y * 0.015f, 21, 5);
      float mid = Fbm(x * 0.07f, y * 0.07f, 22, 4);
      float grit = Hash01(x, y, 23);
      Rgb base = Mix(RgbOf(78, 58, 40), RgbOf(132, 104, 72), std::clamp(big * 1.4f - 0.2f, 0.f, 1.f));
      base = Scale(base, 0.82f + 0.3f * mid + 0.1f * (grit - 0.5f));
      // Puddles: dark, smooth, catching a little sky at their edges.
      float wet = big + (mid - 0.5f) * 0.25f;
      if (wet < 0.36f) {
        float depth = std::clamp((0.36f - wet) * 14.f, 0.f, 1.f);
        base = Mix(base, Mix(RgbOf(52, 42, 32), RgbOf(92, 96, 100), 0.25f + 0.2f * mid), depth);
      }
      // Tyre ruts running down the field.
      for (float off : {0.f, 14.f}) {
        float track =
            x - (w * 0.38f + off + 18.f * std::sin(y * 0.018f) + 6.f * (Fbm(y * 0.03f, 1, 24, 2) - 0.5f));
        if (std::fabs(track) < 3.5f) {
          float tread = (static_cast<int>(y / 3 + (track > 0)) % 2) ? 0.8f : 0.9f;
          base = Scale(base, tread);
        }
      }
      c.At(x, y).c = base;
    }
  // Boot prints pressed into the mud.
  Rng rng(25);
  for (int n = 0; n < w * h / 700; ++n) {
    float x = rng.Range(0, w), y = rng.Range(0, h), a = rng.Range(0, 6.28f);
    for (int j = -3; j <= 3; ++j)
      for (int i = -3; i <= 3; ++i) {
        Vec q = Rot({float(i), float(j)}, -a * 57.3f);
        if (SdEllipse(q, {0, 0}, 2.6f, 1.2f) < 0) c.Blend(int(x) + i, int(y) + j, RgbOf(50, 38, 28), 0.45f);
      }
  }
  Strokes(c, 26, w * h / 40, 1.f, 3.f, RgbOf(150, 130, 90), RgbOf(110, 100, 60), 0.35f);  // straw
  return c;
}

Canvas Snow(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float big = Fbm(x * 0.013f, y * 0.013f, 31, 5);
      float mid = Fbm(x * 0.05f, y * 0.05f, 32, 4);
      float drift = Fbm(x * 0.03f + y * 0.01f, y * 0.012f, 33, 3);
      Rgb snow = Mix(RgbOf(176, 190, 212), RgbOf(240, 244, 250), std::clamp(drift * 1.5f - 0.1f, 0.f, 1.f));
      snow = Scale(snow, 0.94f + 0.1f * mid);
      // Frozen ground and dead grass break through where the cover is thin.
      float bare = big + (mid - 0.5f) * 0.35f;
      if (bare < 0.36f) {
        float t = std::clamp((0.36f - bare) * 12.f, 0.f, 1.f);
        Rgb earth = Mix(RgbOf(84, 78, 68), RgbOf(120, 112, 88), mid);
        snow = Mix(snow, earth, t);
      } else if (bare > 0.68f) {
        // Glazed ice.
        float t = std::clamp((bare - 0.68f) * 10.f, 0.f, 1.f);
        snow = Mix(snow, Mix(RgbOf(170, 200, 220), RgbOf(215, 232, 245), mid), t * 0.8f);
      }
      if (Hash01(x, y, 34) > 0.997f) snow = RgbOf(255, 255, 255);  // glints
      c.At(x, y).c = snow;
    }
  // Stalks poking through the thin cover.
  Canvas stalks(w, h, {}, 0.f);
  Strokes(stalks, 35, w * h / 14, 1.f, 3.5f, RgbOf(110, 100, 70), RgbOf(150, 140, 100), 0.8f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float bare = Fbm(x * 0.013f, y * 0.013f, 31, 5) + (Fbm(x * 0.05f, y * 0.05f, 32, 4) - 0.5f) * 0.35f;
      float keep = std::clamp((0.46f - bare) * 8.f, 0.f, 1.f);
      const Rgba& s = stalks.At(x, y);
      c.Blend(x, y, s.c, s.a * keep);
    }
  return c;
}

Canvas DryDirt(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float big = Fbm(x * 0.014f, y * 0.014f, 41, 4);
      float mid = Fbm(x * 0.08f, y * 0.08f, 42, 4);
      Rgb base = Mix(RgbOf(150, 114, 72), RgbOf(204, 170, 118), std::clamp(big * 1.3f - 0.15f, 0.f, 1.f));
      base = Scale(base, 0.86f + 0.26f * mid + 0.08f * (Hash01(x, y, 43) - 0.5f));
      // Cracked crust.
      float wx = x + (Fbm(x * 0.05f, y * 0.05f, 44, 2) - 0.5f) * 10.f;
      float wy = y + (Fbm(x * 0.05f + 7, y * 0.05f, 45, 2) - 0.5f) * 10.f;
      float f1, f2;
      Cells(wx, wy, 26.f, 46, f1, f2);
      float crack = f2 - f1;
      if (crack < 1.6f && big > 0.35f)
        base = Mix(base, RgbOf(86, 62, 40), std::clamp(1.f - crack / 1.6f, 0.f, 1.f) * 0.8f);
      c.At(x, y).c = base;
    }
  // Stones with a shadow to the lower right.
  Rng rng(47);
  int count = w * h / 420;
  for (int n = 0; n < count; ++n) {
    float x = rng.Range(0, w), y = rng.Range(0, h);
    float rx = rng.Range(1.2f, 4.5f), ry = rx * rng.Range(0.55f, 0.95f), a = rng.Range(0, 180);
    Rgb stone = Mix(RgbOf(120, 116, 108), RgbOf(196, 188, 172), rng.Uniform());
    int R = static_cast<int>(rx) + 3;
    for (int j = -R; j <= R; ++j)
      for (int i = -R; i <= R; ++i) {
        Vec q = Rot({i + 0.5f, j + 0.5f}, -a);
        Vec qs = Rot({i - 0.9f, j - 0.9f}, -a);
        float ds = SdEllipse(qs, {0, 0}, rx, ry);
        if (ds < 0) c.Blend(int(x) + i, int(y) + j, RgbOf(70, 52, 34), 0.5f);
        float d = SdEllipse(q, {0, 0}, rx, ry);
        if (d < 0.5f) {
          float lit = std::clamp(((i + 0.5f) * -0.6f + (j + 0.5f) * -0.8f) / rx, -1.f, 1.f);
          Rgb col =
              lit > 0 ? Mix(stone, RgbOf(235, 230, 220), lit * 0.5f) : Mix(stone, Scale(stone, 0.5f), -lit);
          c.Blend(int(x) + i, int(y) + j, col, std::clamp(0.5f - d, 0.f, 1.f));
        }
      }
  }
  return c;
}

Canvas Cleaned(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Brushed flat: fine lines along the direction of travel, little else.
      float lines = ValueNoise(x * 0.9f, y * 0.04f, 51);
      float patch = Fbm(x * 0.05f, y * 0.02f, 52, 3);
      Rgb base = Mix(RgbOf(92, 80, 62), RgbOf(122, 108, 86), patch);
      c.At(x, y).c = Scale(base, 0.9f + 0.18f * lines + 0.05f * (Hash01(x, y, 53) - 0.5f));
    }
  return c;
}

}  // namespace

Canvas Ground(int kind, int w, int h) {
  switch (kind) {
    case 0:
      return Meadow(w, h);
    case 1:
      return Mud(w, h);
    case 2:
      return Snow(w, h);
    case 3:
      return DryDirt(w, h);
    default:
      return Cleaned(w, h);
  }
}

void WriteTerrain(PictureOut& out) {
  for (int k = 0; k < 4; ++k) out.Save("Map0" + std::to_string(k + 1) + ".jpg", Ground(k, 320, 320), 92);
  out.Save("CleanLine.jpg", Ground(4, 50, 340), 92);
}

}  // namespace content
