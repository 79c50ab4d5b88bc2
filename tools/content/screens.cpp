// Screen pictures: the splash and menu backdrop with the game's name, title logos, the loading
// bar, status bar and strips, panels, slider, score marks, check boxes and help pictures.
#include <cmath>

#include "content.h"
#include "noise.h"

namespace content {
namespace {

// Crops a coverage canvas to the pixels that carry ink.
Canvas Trim(const Canvas& c) {
  int x0 = c.W(), y0 = c.H(), x1 = -1, y1 = -1;
  for (int y = 0; y < c.H(); ++y)
    for (int x = 0; x < c.W(); ++x)
      if (c.At(x, y).a > 0.02f) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  Canvas out(x1 - x0 + 1, y1 - y0 + 1, {}, 0.f);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) out.At(x - x0, y - y0) = c.At(x, y);
  return out;
}

// Lettering with a metal gradient, a dark outline of the given width and coverage for masking.
Canvas Lettering(const std::string& text, Face face, int pt, Rgb top, Rgb bottom, float outline, Rgb edge) {
  Canvas m = Trim(TextMask(text, face, pt));
  int pad = static_cast<int>(std::ceil(outline)) + 1;
  Canvas out(m.W() + 2 * pad, m.H() + 2 * pad, edge, 0.f);
  int R = pad;
  for (int y = 0; y < out.H(); ++y)
    for (int x = 0; x < out.W(); ++x) {
      float ring = 0;
      for (int j = -R; j <= R; ++j)
        for (int i = -R; i <= R; ++i) {
          int sx = x - pad + i, sy = y - pad + j;
          if (sx < 0 || sy < 0 || sx >= m.W() || sy >= m.H()) continue;
          float w = std::clamp(outline + 0.5f - std::hypot(float(i), float(j)), 0.f, 1.f);
          ring = std::max(ring, m.At(sx, sy).a * w);
        }
      Rgba& o = out.At(x, y);
      o.a = ring;
      int sx = x - pad, sy = y - pad;
      if (sx >= 0 && sy >= 0 && sx < m.W() && sy < m.H()) {
        float t = sy / float(std::max(1, m.H() - 1));
        // Bright top, a dark band just under the middle, a lighter lip below: pressed metal.
        float band = t < 0.5f ? t * 2.f * 0.35f : 0.35f + (t - 0.5f) * 2.f * 0.65f;
        Rgb face = Mix(top, bottom, band);
        if (t > 0.52f && t < 0.6f) face = Scale(face, 0.8f);
        o.c = Mix(edge, face, m.At(sx, sy).a);
      }
    }
  return out;
}

// Largest point size at which the text fits the width.
int FitSize(const std::string& text, Face face, int maxWidth, int startPt) {
  int pt = startPt;
  while (pt > 6 && TextWidth(text, face, pt) > maxWidth) --pt;
  return pt;
}

Canvas TitleLogo(bool full) {
  int h = full ? 40 : 23;
  Canvas c(107, h, {}, 0.f);
  Rgb top = RgbOf(250, 236, 170), bottom = RgbOf(150, 112, 40), edge = RgbOf(28, 22, 12);
  int pt = FitSize("VORLAN", Face::SansBold, 101, full ? 24 : 18);
  Canvas name = Lettering("VORLAN", Face::SansBold, pt, top, bottom, 1.6f, edge);
  if (!full) {
    c.Over(name, (107 - name.W()) / 2, (h - name.H()) / 2);
    return c;
  }
  c.Over(name, (107 - name.W()) / 2, 0);
  Canvas sub = Lettering("Iron Meadow", Face::NarrowBold, FitSize("Iron Meadow", Face::NarrowBold, 90, 11),
                         RgbOf(210, 240, 190), RgbOf(110, 170, 90), 1.2f, edge);
  int y = std::min(name.H() - 1, h - sub.H());
  // A rule on each side of the subtitle ties the two lines together.
  int sx = (107 - sub.W()) / 2;
  for (int x = 2; x < 105; ++x)
    if (x < sx - 2 || x > sx + sub.W() + 1)
      for (int dy = -1; dy <= 1; ++dy) c.Blend(x, y + sub.H() / 2 + dy, dy ? edge : RgbOf(200, 170, 80), 1.f);
  c.Over(sub, sx, y);
  return c;
}

Canvas Splash() {
  Canvas c = Ground(0, 300, 300);
  // Dusk over the meadow: darkened, cooled, with a vignette so the title stands out.
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      float r = std::hypot(x - 150.f, y - 130.f) / 210.f;
      Rgb g = c.At(x, y).c;
      Rgb tint = Mix(Scale(g, 0.5f), RgbOf(30, 34, 48), 0.35f);
      c.At(x, y).c = Scale(tint, std::clamp(1.15f - r * r, 0.25f, 1.f));
    }
  // A gun sight over the field.
  Canvas sight = Render(
      300, 300,
      [](Vec p) {
        Rgba acc;
        Vec cc{150, 128};
        float ring = std::fabs(SdCircle(p, cc, 96)) - 1.2f;
        float ring2 = std::fabs(SdCircle(p, cc, 60)) - 0.6f;
        float ax = std::fabs(p.x - cc.x), ay = std::fabs(p.y - cc.y);
        float cross = std::max(std::min(ax - 0.7f, ay - 0.7f),
                               std::max(40.f - std::max(ax, ay), std::max(ax, ay) - 118.f));
        Layer(acc, RgbOf(170, 220, 160), Cover(std::min(std::min(ring, ring2), cross), 0.3f) * 0.35f);
        return acc;
      },
      2);
  c.Over(sight, 0, 0);
  Canvas shadow = Lettering("VORLAN", Face::SansBold, FitSize("VORLAN", Face::SansBold, 250, 60),
                            RgbOf(0, 0, 0), RgbOf(0, 0, 0), 3.f, RgbOf(0, 0, 0));
  Canvas name = Lettering("VORLAN", Face::SansBold, FitSize("VORLAN", Face::SansBold, 250, 60),
                          RgbOf(255, 244, 190), RgbOf(168, 120, 40), 2.5f, RgbOf(26, 20, 10));
  int nx = (300 - name.W()) / 2, ny = 86;
  c.Over(shadow, nx + 4, ny + 5, 0.6f);
  c.Over(name, nx, ny);
  Canvas sub = Lettering("Iron Meadow", Face::NarrowBold, FitSize("Iron Meadow", Face::NarrowBold, 170, 26),
                         RgbOf(220, 250, 200), RgbOf(110, 180, 90), 1.8f, RgbOf(16, 24, 12));
  c.Over(sub, (300 - sub.W()) / 2, ny + name.H() + 6);
  // The band at the foot holds the loading messages and the progress bar.
  for (int y = 268; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      Rgb& p = c.At(x, y).c;
      p = Mix(p, RgbOf(12, 16, 12), y == 268 ? 1.f : 0.78f);
      if (y == 269) p = RgbOf(80, 110, 70);
    }
  return c;
}

Canvas Backdrop() {
  const int S = 270;
  Canvas c(S, S);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      // Field map paper: stained, with the contour lines of rolling ground and a grid.
      float stain = Fbm(x * 0.02f, y * 0.02f, 61, 5);
      float fibre = Hash01(x, y, 62);
      Rgb paper = Mix(RgbOf(206, 192, 150), RgbOf(238, 230, 200), std::clamp(stain * 1.4f - 0.2f, 0.f, 1.f));
      paper = Scale(paper, 0.97f + 0.05f * fibre);
      float height = Fbm(x * 0.011f + 3, y * 0.011f, 63, 4) * 9.f;
      float line = std::fabs(height - std::round(height));
      if (line < 0.06f) paper = Mix(paper, RgbOf(150, 112, 70), 0.55f * (1.f - line / 0.06f));
      if (x % 30 == 0 || y % 30 == 0) paper = Mix(paper, RgbOf(110, 130, 150), 0.25f);
      c.At(x, y).c = paper;
    }
  // Double frame.
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      int d = std::min(std::min(x, y), std::min(S - 1 - x, S - 1 - y));
      if (d < 3)
        c.At(x, y).c = RgbOf(60, 70, 44);
      else if (d == 5)
        c.At(x, y).c = RgbOf(90, 100, 64);
    }
  // The name as a stamp in the free lower right corner.
  Canvas name = TextMask("VORLAN", Face::SansBold, FitSize("VORLAN", Face::SansBold, 150, 40));
  Canvas sub = TextMask("Iron Meadow", Face::NarrowBold, 14);
  Rgb ink = RgbOf(96, 40, 34);
  int nx = S - name.W() - 14, ny = 176;
  for (int j = 0; j < name.H(); ++j)
    for (int i = 0; i < name.W(); ++i) c.Blend(nx + i, ny + j, ink, name.At(i, j).a * 0.32f);
  for (int j = 0; j < sub.H(); ++j)
    for (int i = 0; i < sub.W(); ++i)
      c.Blend(S - sub.W() - 16 + i, ny + name.H() - 4 + j, ink, sub.At(i, j).a * 0.4f);
  return c;
}

Canvas LoadingBar() {
  return Render(
      300, 13,
      [](Vec p) {
        Rgba acc;
        Layer(acc, RgbOf(10, 20, 10));
        float t = p.y / 13.f;
        Rgb fill = Mix(RgbOf(140, 230, 120), RgbOf(40, 120, 40), t);
        if (static_cast<int>(p.x) % 12 >= 10) fill = Scale(fill, 0.6f);  // segments
        Layer(acc, fill, Cover(SdBox(p, {150, 6.5f}, 149.f, 5.f, 2.f)));
        // A hot leading edge at the right end, which is where the bar grows.
        Layer(acc, RgbOf(230, 255, 210), Cover(SdBox(p, {296.5f, 6.5f}, 1.5f, 5.f, 1.f)));
        return acc;
      },
      3);
}

Canvas StatusBackground() {
  Canvas c(300, 78);
  for (int y = 0; y < 78; ++y)
    for (int x = 0; x < 300; ++x) {
      float brush = ValueNoise(x * 0.4f, y * 3.f, 71) * 0.5f + Hash01(x, y, 72) * 0.5f;
      Rgb metal = Scale(RgbOf(44, 48, 44), 0.9f + 0.2f * brush);
      if (y >= 62) metal = Scale(RgbOf(22, 28, 24), 0.95f + 0.1f * brush);  // the score line
      if (y == 61) metal = RgbOf(90, 104, 84);
      if (y == 20 || y == 24) metal = RgbOf(70, 80, 66);
      c.At(x, y).c = metal;
    }
  for (int rx : {3, 296})
    for (int ry : {22, 74})
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
          c.At(rx + i, ry + j).c = (i + j < 0) ? RgbOf(130, 136, 126) : RgbOf(20, 22, 20);
  return c;
}

// One status strip: the empty bar in rows 0 to 9 and the filled bar from row 10; the skill strips
// have a 7-row bar and a 2-row experience line (rows 8-9 empty, 18-19 filled).
Canvas StatusStrip(const std::string& label, int labelWidth, Rgb fill, bool skill) {
  Canvas c(300, 20);
  Canvas text = TextMask(label, Face::NarrowBold, 6);
  for (int half = 0; half < 2; ++half) {
    int y0 = half * 10;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 300; ++x) {
        Rgb col;
        if (x < labelWidth) {
          col = Mix(RgbOf(24, 30, 26), RgbOf(44, 52, 46), y / 9.f);
          if (x == labelWidth - 1) col = RgbOf(100, 110, 96);
        } else if (!skill || y < 7) {
          int rows = skill ? 7 : 10;
          float t = y / float(rows - 1);
          if (half == 0) {
            col = Mix(RgbOf(170, 172, 158), RgbOf(130, 134, 120), t);  // light enough for the bar text
            if (y == 0) col = RgbOf(96, 100, 90);
          } else {
            col = Mix(Mix(fill, RgbOf(255, 255, 255), 0.45f), Scale(fill, 0.72f), t);
            if (y == 0) col = Mix(fill, RgbOf(255, 255, 255), 0.7f);
          }
          // Level ticks along the skill bars, one per point.
          if (skill && (x - labelWidth) > 0 && std::fmod(x - labelWidth + 0.f, 18.5f) < 1.f)
            col = Scale(col, 0.75f);
        } else if (y == 7) {
          col = RgbOf(20, 22, 20);
        } else {
          col = half == 0 ? RgbOf(56, 58, 50) : (y == 8 ? RgbOf(255, 246, 170) : RgbOf(230, 200, 90));
        }
        c.At(x, y0 + y).c = col;
      }
    for (int j = 0; j < text.H() && j < 10; ++j)
      for (int i = 0; i < text.W() && i < labelWidth - 3; ++i)
        c.Blend(3 + i, y0 + j, RgbOf(214, 222, 200), text.At(i, j).a);
  }
  return c;
}

Canvas LayerPanel() {
  return Render(
      300, 13,
      [](Vec p) {
        Rgba acc;
        Layer(acc, Mix(RgbOf(40, 50, 34), RgbOf(16, 20, 14), p.y / 13.f));
        if (p.y < 1 || p.y > 12) Layer(acc, RgbOf(120, 140, 96));
        return acc;
      },
      2);
}

Canvas RoundPanel(int w, int h, Rgb fill, Rgb edge) {
  return Render(
      w, h,
      [=](Vec p) {
        Rgba acc;
        float d = SdBox(p, {w / 2.f, h / 2.f}, w / 2.f - 0.2f, h / 2.f - 0.2f, 4.f);
        Layer(acc, edge, Cover(d));
        Layer(acc, Mix(fill, Scale(fill, 0.6f), p.y / h), Cover(d + 1.2f));
        return acc;
      },
      4);
}

Canvas EntryFrame() {
  // A hollow frame: the typed name shows through its middle.
  return Render(
      150, 15,
      [](Vec p) {
        Rgba acc;
        float outer = SdBox(p, {75, 7.5f}, 74.8f, 7.3f, 3.f);
        float inner = SdBox(p, {75, 7.5f}, 72.5f, 5.2f, 2.f);
        float frame = std::max(outer, -inner);
        Layer(acc, RgbOf(255, 230, 90), Cover(frame));
        float arrow = std::max(std::fabs(p.y - 7.5f) * 0.9f + (p.x - 6.5f), -(p.x - 2.5f));
        Layer(acc, RgbOf(255, 120, 40), Cover(arrow));
        return acc;
      },
      4);
}

Canvas InRowBar() {
  Canvas c(300, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 300; ++x) {
      Rgb col = Mix(RgbOf(220, 40, 20), RgbOf(255, 230, 60), x / 299.f);
      c.At(x, y).c = y == 0 ? Mix(col, RgbOf(255, 255, 255), 0.45f) : y == 2 ? Scale(col, 0.7f) : col;
    }
  return c;
}

Canvas CheckCells() {
  return Render(
      16, 8,
      [](Vec p) {
        Rgba acc;
        bool ticked = p.x < 8;
        Vec c{ticked ? 4.f : 12.f, 4.f};
        Layer(acc, RgbOf(30, 36, 30));
        Layer(acc, RgbOf(236, 232, 214), Cover(SdBox(p, c, 3.f, 3.f)));
        if (ticked) {
          float tick = std::min(SdSegment(p, {1.8f, 4.0f}, {3.6f, 5.9f}, 0.75f),
                                SdSegment(p, {3.6f, 5.9f}, {6.6f, 1.6f}, 0.75f));
          Layer(acc, RgbOf(20, 150, 40), Cover(tick));
        }
        return acc;
      },
      6);
}

Canvas ScoreMarks() {
  // Row 0: a new result (green, up); row 9: unchanged (grey); row 18: moved down (red).
  return Render(
      9, 27,
      [](Vec p) {
        Rgba acc;
        int cell = static_cast<int>(p.y / 9);
        Vec c{4.5f, cell * 9 + 4.5f};
        Layer(acc, RgbOf(34, 38, 34));
        float dx = std::fabs(p.x - c.x), dy = p.y - c.y;
        if (cell == 0) Layer(acc, RgbOf(70, 220, 80), Cover(std::max(dx * 1.1f - dy - 2.4f, dy - 3.2f)));
        if (cell == 1) Layer(acc, RgbOf(170, 170, 160), Cover(SdBox(p, c, 2.6f, 0.9f)));
        if (cell == 2) Layer(acc, RgbOf(230, 60, 50), Cover(std::max(dx * 1.1f + dy - 2.4f, -dy - 3.2f)));
        return acc;
      },
      6);
}

Sprite SliderTrack() {
  return MakeSprite(Render(
      10, 140,
      [](Vec p) {
        Rgba acc;
        float d = SdBox(p, {5, 70}, 4.6f, 69.6f, 3.f);
        Layer(acc, RgbOf(120, 126, 110), Cover(d));
        Layer(acc, Mix(RgbOf(20, 24, 20), RgbOf(60, 66, 56), (p.x - 2) / 6.f), Cover(d + 1.3f));
        if (std::fmod(p.y, 14.f) < 1.f && p.y > 4 && p.y < 136)
          Layer(acc, RgbOf(100, 110, 92), Cover(d + 1.3f));
        return acc;
      },
      4));
}

Canvas SliderThumb() {
  return Render(
      8, 14,
      [](Vec p) {
        Rgba acc;
        Layer(acc, RgbOf(40, 40, 36));
        float d = SdBox(p, {4, 7}, 3.8f, 6.8f, 1.5f);
        Layer(acc, Mix(RgbOf(236, 236, 220), RgbOf(140, 144, 130), (p.x + p.y * 0.3f) / 10.f), Cover(d));
        for (float gy : {5.f, 7.f, 9.f}) Layer(acc, RgbOf(90, 94, 84), Cover(SdBox(p, {4, gy}, 2.f, 0.35f)));
        return acc;
      },
      4);
}

Canvas HelpCrateNumber() {
  Canvas c(23, 32, RgbOf(24, 28, 22));
  Canvas crate = Render(
      19, 14,
      [](Vec p) {
        Rgba acc;
        Layer(acc, RgbOf(104, 114, 52), Cover(SdBox(p, {9.5f, 7}, 9.f, 6.5f, 1.f)));
        Layer(acc, RgbOf(70, 78, 34), Cover(std::fabs(SdBox(p, {9.5f, 7}, 9.f, 6.5f, 1.f)) - 0.6f));
        for (int i = 0; i < 3; ++i) {
          Vec b{4.5f + i * 5.f, 7.5f};
          Layer(acc, RgbOf(220, 176, 64), Cover(SdBox(p, b, 1.3f, 3.8f, 0.6f)));
          Layer(acc, RgbOf(176, 96, 42), Cover(SdBox(p, {b.x, 4.2f}, 1.1f, 0.9f, 0.4f)));
        }
        return acc;
      },
      4);
  c.Over(crate, 2, 17);
  Canvas num = Trim(TextMask("12", Face::SansBold, 9));
  for (int j = 0; j < num.H(); ++j)
    for (int i = 0; i < num.W(); ++i)
      c.Blend((23 - num.W()) / 2 + i, 3 + j, RgbOf(255, 240, 120), num.At(i, j).a);
  return c;
}

Canvas HelpBars() {
  Canvas c(62, 20, RgbOf(24, 28, 22));
  auto bar = [&](int y, Rgb fill, float share, const std::string& text) {
    for (int j = 0; j < 8; ++j)
      for (int i = 0; i < 60; ++i) {
        float t = j / 7.f;
        Rgb col = i < 60 * share ? Mix(Mix(fill, RgbOf(255, 255, 255), 0.4f), Scale(fill, 0.72f), t)
                                 : Mix(RgbOf(170, 172, 158), RgbOf(130, 134, 120), t);
        c.At(1 + i, y + j).c = col;
      }
    Canvas m = Trim(TextMask(text, Face::MonoBold, 6));
    for (int j = 0; j < m.H(); ++j)
      for (int i = 0; i < m.W(); ++i) c.Blend(22 + i, y + 1 + j, RgbOf(0, 0, 128), m.At(i, j).a);
  };
  bar(1, RgbOf(232, 84, 72), 0.8f, "72[90]");
  bar(11, RgbOf(236, 196, 70), 0.45f, "34[75]");
  return c;
}

Canvas HelpBomb() {
  Canvas c(32, 32, RgbOf(24, 28, 22));
  c.Over(BombPicture(32), 0, 0);
  Canvas num = Trim(TextMask("3", Face::SansBold, 10));
  for (int j = 0; j < num.H(); ++j)
    for (int i = 0; i < num.W(); ++i) c.Blend(13 + i, 13 + j, RgbOf(192, 255, 192), num.At(i, j).a);
  return c;
}

}  // namespace

void WriteScreens(PictureOut& out) {
  out.Save("StatusBar.jpg", StatusBackground(), 95);
  out.Save("MainLogo.jpg", Splash(), 95);
  out.Save("Loading.jpg", LoadingBar(), 95);
  out.SaveSprite("Logo.jpg", MakeSprite(TitleLogo(false)));
  out.SaveSprite("SliderMenu.jpg", SliderTrack());
  out.Save("SliderDrag.jpg", SliderThumb());
  out.Save("Layer.jpg", LayerPanel(), 95);
  out.SaveSprite("LayerScore.jpg", MakeSprite(RoundPanel(85, 15, RgbOf(44, 56, 38), RgbOf(150, 170, 120))));
  out.Save("Check.jpg", CheckCells());
  out.Save("ScoreUpDown.jpg", ScoreMarks());
  out.Save("Help1.jpg", HelpCrateNumber());
  out.Save("Help2.jpg", HelpBars());
  out.Save("Help3.jpg", HelpBomb());
  out.Save("MainMenu.jpg", Backdrop(), 95);
  out.SaveSprite("EnterText.jpg", MakeSprite(EntryFrame()));
  out.Save("StatusHealth.jpg", StatusStrip("HEALTH", 53, RgbOf(232, 84, 72), false));
  out.Save("StatusAmmo.jpg", StatusStrip("AMMO", 53, RgbOf(236, 196, 70), false));
  out.Save("StatusAccuracy.jpg", StatusStrip("ACCURACY", 98, RgbOf(70, 196, 232), true));
  out.Save("StatusRecharge.jpg", StatusStrip("FIRE RATE", 98, RgbOf(240, 150, 60), true));
  out.Save("StatusBulletSpeed.jpg", StatusStrip("BULLET SPEED", 98, RgbOf(176, 120, 240), true));
  out.Save("StatusMelee.jpg", StatusStrip("MELEE", 98, RgbOf(120, 210, 90), true));
  out.Save("InRowBar.jpg", InRowBar());
  out.SaveSprite("LogoFull.jpg", MakeSprite(TitleLogo(true)));
}

}  // namespace content
