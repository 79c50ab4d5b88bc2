// The generated pictures as the game loads them: sizes, frame layouts, clean masks after JPEG
// decoding, sprites that face the way their frame says, and full-resolution colour.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/surface.h"
#include "support/test_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

fs::path PictureFile(const std::string& name) { return testing::BuiltProgramDir() / "Pictures" / name; }

// One image/mask pair of a picture: w x h frames, count of them stepping by (dx, dy), the mask
// of each at (mx, my) from its image.
struct Frames {
  int x, y, w, h, count, dx, dy, mx, my;
};
struct Masked {
  const char* file;
  int width, height;
  Frames f;
};

const Masked kMasked[] = {
    {"Logo.jpg", 107, 47, {0, 0, 107, 23, 1, 0, 0, 0, 24}},
    {"SliderMenu.jpg", 20, 140, {0, 0, 10, 140, 1, 0, 0, 10, 0}},
    {"LayerScore.jpg", 85, 30, {0, 0, 85, 15, 1, 0, 0, 0, 15}},
    {"CursorMenu.jpg", 36, 18, {0, 0, 18, 18, 1, 0, 0, 18, 0}},
    {"EnterText.jpg", 150, 30, {0, 0, 150, 15, 1, 0, 0, 0, 15}},
    {"Player.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL0.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL1.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL2.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL3.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL4.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL5.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AcidHearth.jpg", 90, 60, {0, 0, 30, 30, 3, 30, 0, 0, 30}},
    {"BombIcon.jpg", 60, 30, {0, 0, 30, 30, 1, 0, 0, 30, 0}},
    {"BoomDirt.jpg", 128, 64, {0, 0, 64, 64, 1, 0, 0, 64, 0}},
    {"Explosion.jpg", 1728, 128, {0, 0, 64, 64, 27, 64, 0, 0, 64}},
    {"AirPlane.jpg", 80, 40, {0, 0, 40, 40, 1, 0, 0, 40, 0}},
    {"Cleaner.jpg", 100, 64, {0, 0, 50, 64, 1, 0, 0, 50, 0}},
    {"Dead.jpg", 40, 80, {0, 0, 20, 20, 4, 0, 20, 20, 0}},
    {"CursorFire.jpg", 18, 9, {0, 0, 9, 9, 1, 0, 0, 9, 0}},
    {"BulletsOut.jpg", 11, 22, {0, 0, 11, 11, 1, 0, 0, 0, 11}},
    {"Ovca.jpg", 828, 33, {0, 0, 23, 16, 36, 23, 0, 0, 17}},
    {"OvcaDead.jpg", 17, 32, {0, 0, 17, 16, 1, 0, 0, 0, 16}},
    {"WalkHere.jpg", 40, 20, {0, 0, 20, 20, 1, 0, 0, 20, 0}},
    {"LogoFull.jpg", 107, 80, {0, 0, 107, 40, 1, 0, 0, 0, 40}},
};

struct Plain {
  const char* file;
  int width, height;
};
const Plain kPlain[] = {
    {"StatusBar.jpg", 300, 78},
    {"MainLogo.jpg", 300, 300},
    {"Loading.jpg", 300, 13},
    {"SliderDrag.jpg", 8, 14},
    {"Layer.jpg", 300, 13},
    {"Check.jpg", 16, 8},
    {"ScoreUpDown.jpg", 9, 27},
    {"Help1.jpg", 23, 32},
    {"Help2.jpg", 62, 20},
    {"Help3.jpg", 32, 32},
    {"MainMenu.jpg", 270, 270},
    {"StatusHealth.jpg", 300, 20},
    {"StatusAmmo.jpg", 300, 20},
    {"StatusAccuracy.jpg", 300, 20},
    {"StatusRecharge.jpg", 300, 20},
    {"StatusBulletSpeed.jpg", 300, 20},
    {"StatusMelee.jpg", 300, 20},
    {"Health.jpg", 14, 7},
    {"Ammo.jpg", 18, 7},
    {"Acid.jpg", 14, 7},
    {"Foot.jpg", 4, 4},
    {"InRowBar.jpg", 300, 3},
};

Surface Load(const std::string& name) {
  Surface s;
  EXPECT_TRUE(LoadPictureFile(PictureFile(name), s)) << name;
  return s;
}

int Channel(Color c, int k) { return k == 0 ? RedOf(c) : k == 1 ? GreenOf(c) : BlueOf(c); }
int Brightest(Color c) { return std::max({RedOf(c), GreenOf(c), BlueOf(c)}); }

// A mask pixel after decoding: how far it is from pure white or pure black, and which it is.
int MaskError(Color c, bool& white) {
  int sum = RedOf(c) + GreenOf(c) + BlueOf(c);
  white = sum > 3 * 128;
  int err = 0;
  for (int k = 0; k < 3; ++k) err = std::max(err, white ? 255 - Channel(c, k) : Channel(c, k));
  return err;
}

// The SRCAND of a mask keeps bits where it is white: a few levels off white or black change the
// ground only in its lowest bits, so that much JPEG noise is allowed and no more.
constexpr int kMaskTolerance = 6;
constexpr int kBlackTolerance = 12;

TEST(ContentPictures, MaskedPicturesHaveTheirLayoutAndCleanMasks) {
  for (const Masked& m : kMasked) {
    SCOPED_TRACE(m.file);
    Surface s = Load(m.file);
    ASSERT_EQ(s.Width(), m.width);
    ASSERT_EQ(s.Height(), m.height);
    for (int k = 0; k < m.f.count; ++k) {
      SCOPED_TRACE("frame " + std::to_string(k));
      int ix = m.f.x + k * m.f.dx, iy = m.f.y + k * m.f.dy;
      int worstMask = 0, worstBlack = 0, opaque = 0, seeThrough = 0, visible = 0;
      for (int y = 0; y < m.f.h; ++y)
        for (int x = 0; x < m.f.w; ++x) {
          bool white = false;
          worstMask = std::max(worstMask, MaskError(GetPixel(s, ix + m.f.mx + x, iy + m.f.my + y), white));
          Color img = GetPixel(s, ix + x, iy + y);
          if (white) {
            ++seeThrough;
            worstBlack = std::max(worstBlack, Brightest(img));
          } else {
            ++opaque;
            if (Brightest(img) > 24) ++visible;
          }
        }
      EXPECT_LE(worstMask, kMaskTolerance) << "mask not pure black and white";
      EXPECT_LE(worstBlack, kBlackTolerance) << "image not black where the mask is white";
      EXPECT_GT(opaque, 0) << "empty frame";
      EXPECT_GT(visible, opaque / 2) << "sprite drawn too dark to see";
      const std::string file = m.file;
      if (file != "EnterText.jpg" && file != "SliderMenu.jpg" && file != "LayerScore.jpg") {
        EXPECT_GT(seeThrough, 0) << "a sprite without transparency";
      }
    }
  }
}

TEST(ContentPictures, OpaquePicturesAndTerrainHaveTheirSizes) {
  for (const Plain& p : kPlain) {
    SCOPED_TRACE(p.file);
    Surface s = Load(p.file);
    EXPECT_EQ(s.Width(), p.width);
    EXPECT_EQ(s.Height(), p.height);
  }
  for (const char* map : {"Map01.jpg", "Map02.jpg", "Map03.jpg", "Map04.jpg"}) {
    Surface s = Load(map);
    EXPECT_GE(s.Width(), 320) << map;
    EXPECT_GE(s.Height(), 320) << map;
  }
  Surface clean = Load("CleanLine.jpg");
  EXPECT_GE(clean.Width(), 49);
  EXPECT_GE(clean.Height(), 340);
}

// Mean colour and the spread of brightness over the first 300 x 300 pixels of a map.
void GroundStats(const Surface& s, double mean[3], double& spread) {
  double sum[3] = {0, 0, 0}, sq = 0, lum = 0;
  int n = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x, ++n) {
      Color c = GetPixel(s, x, y);
      for (int k = 0; k < 3; ++k) sum[k] += Channel(c, k);
      double l = (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3.0;
      lum += l;
      sq += l * l;
    }
  for (int k = 0; k < 3; ++k) mean[k] = sum[k] / n;
  spread = std::sqrt(sq / n - (lum / n) * (lum / n));
}

TEST(ContentPictures, TerrainPhotographsAreDistinctTexturedGrounds) {
  double means[4][3];
  for (int m = 0; m < 4; ++m) {
    Surface s = Load("Map0" + std::to_string(m + 1) + ".jpg");
    double spread = 0;
    GroundStats(s, means[m], spread);
    EXPECT_GT(spread, 6.0) << "map " << m + 1 << " is flat colour";
  }
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) {
      double d = std::abs(means[a][0] - means[b][0]) + std::abs(means[a][1] - means[b][1]) +
                 std::abs(means[a][2] - means[b][2]);
      EXPECT_GT(d, 30.0) << "maps " << a + 1 << " and " << b + 1 << " look alike";
    }
}

// Direction (degrees, 0 = right, 90 = down) from the frame centre to the farthest opaque pixel.
double FarthestOpaque(const Surface& s, int fx, int fy, int w, int h, int maskDx, int maskDy, double cx,
                      double cy) {
  double best = -1, angle = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool white = false;
      MaskError(GetPixel(s, fx + maskDx + x, fy + maskDy + y), white);
      if (white) continue;
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d = std::hypot(dx, dy);
      if (d > best) {
        best = d;
        angle = std::atan2(dy, dx) * 180.0 / M_PI;
      }
    }
  return angle;
}
double AngleGap(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

TEST(ContentPictures, SoldiersPointTheirWeaponAlongTheFrameFacing) {
  for (const char* sheet : {"Player.jpg", "AiLVL0.jpg", "AiLVL3.jpg", "AiLVL5.jpg"}) {
    Surface s = Load(sheet);
    for (int k = 0; k < 72; k += 3) {
      double a = FarthestOpaque(s, 21 * k, 0, 21, 21, 0, 21, 10.5, 10.5);
      EXPECT_LE(AngleGap(a, 5.0 * k), 25.0) << sheet << " frame " << k;
    }
  }
}

TEST(ContentPictures, SheepFaceTheirHeadingTens) {
  Surface s = Load("Ovca.jpg");
  for (int k = 0; k < 36; ++k) {
    double a = FarthestOpaque(s, 23 * k, 0, 23, 16, 0, 17, 11.5, 8.0);
    EXPECT_LE(AngleGap(a, 10.0 * k + 5), 35.0) << "frame " << k;
  }
}

TEST(ContentPictures, FirstCheckBoxCellIsTheTickedOne) {
  Surface s = Load("Check.jpg");
  auto greens = [&](int x0) {
    int n = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = x0; x < x0 + 8; ++x) {
        Color c = GetPixel(s, x, y);
        if (GreenOf(c) > RedOf(c) + 40 && GreenOf(c) > BlueOf(c) + 40) ++n;
      }
    return n;
  };
  EXPECT_GE(greens(0), 4);
  EXPECT_EQ(greens(8), 0);
}

// The status panel copies the filled bar over the empty one from x 0, so their label columns
// must match; skill strips carry a distinct experience line in rows 18-19.
TEST(ContentPictures, StatusStripsKeepTheirLabelWhenFilled) {
  const struct {
    const char* file;
    int label;
    bool skill;
  } strips[] = {{"StatusHealth.jpg", 53, false},     {"StatusAmmo.jpg", 53, false},
                {"StatusAccuracy.jpg", 98, true},    {"StatusRecharge.jpg", 98, true},
                {"StatusBulletSpeed.jpg", 98, true}, {"StatusMelee.jpg", 98, true}};
  for (const auto& st : strips) {
    SCOPED_TRACE(st.file);
    Surface s = Load(st.file);
    int worst = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < st.label; ++x)
        for (int k = 0; k < 3; ++k)
          worst =
              std::max(worst, std::abs(Channel(GetPixel(s, x, y), k) - Channel(GetPixel(s, x, y + 10), k)));
    EXPECT_LE(worst, 16);
    double emptyBar = 0, filledBar = 0;
    for (int x = st.label + 5; x < 295; ++x) {
      emptyBar += Brightest(GetPixel(s, x, 3));
      filledBar += Brightest(GetPixel(s, x, 13));
    }
    EXPECT_GT(std::abs(filledBar - emptyBar) / (290 - st.label), 20.0)
        << "filled bar looks like the empty one";
    if (st.skill) {
      EXPECT_GT(Brightest(GetPixel(s, 200, 18)), Brightest(GetPixel(s, 200, 8)) + 60);
    }
  }
}

// Sampling factors of every colour component, read from the JPEG frame header.
std::vector<int> SamplingFactors(const fs::path& file) {
  std::ifstream f(file, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  for (size_t i = 2; i + 9 < b.size();) {
    if (b[i] != 0xFF) return {};
    unsigned char marker = b[i + 1];
    size_t len = (b[i + 2] << 8) | b[i + 3];
    if (marker >= 0xC0 && marker <= 0xC2) {
      std::vector<int> out;
      int n = b[i + 9];
      for (int c = 0; c < n && i + 12 + 3 * c < b.size(); ++c) out.push_back(b[i + 11 + 3 * c]);
      return out;
    }
    i += 2 + len;
  }
  return {};
}

TEST(ContentPictures, EveryPictureKeepsFullResolutionColour) {
  int checked = 0;
  for (const auto& e : fs::directory_iterator(testing::BuiltProgramDir() / "Pictures")) {
    if (e.path().extension() != ".jpg") continue;
    std::vector<int> factors = SamplingFactors(e.path());
    ASSERT_EQ(factors.size(), 3u) << e.path().filename();
    for (int v : factors) EXPECT_EQ(v, 0x11) << e.path().filename();
    ++checked;
  }
  EXPECT_EQ(checked, 52);
}

}  // namespace
}  // namespace vorlan

namespace vorlan {
namespace {

// Mean colour of the opaque pixels of one masked frame.
struct Mean {
  double r = 0, g = 0, b = 0;
  int n = 0;
};
Mean OpaqueMean(const Surface& s, int fx, int fy, int w, int h, int mdx, int mdy) {
  Mean m;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool white = false;
      MaskError(GetPixel(s, fx + mdx + x, fy + mdy + y), white);
      if (white) continue;
      Color c = GetPixel(s, fx + x, fy + y);
      m.r += RedOf(c);
      m.g += GreenOf(c);
      m.b += BlueOf(c);
      ++m.n;
    }
  if (m.n) {
    m.r /= m.n;
    m.g /= m.n;
    m.b /= m.n;
  }
  return m;
}
double Distance(const Mean& a, const Mean& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

TEST(ContentArt, PlayerStandsApartAndEnemyLevelsDiffer) {
  std::vector<Mean> looks;
  for (const char* sheet :
       {"Player.jpg", "AiLVL0.jpg", "AiLVL1.jpg", "AiLVL2.jpg", "AiLVL3.jpg", "AiLVL4.jpg", "AiLVL5.jpg"})
    looks.push_back(OpaqueMean(Load(sheet), 0, 0, 21, 21, 0, 21));
  for (size_t a = 0; a < looks.size(); ++a)
    for (size_t b = a + 1; b < looks.size(); ++b)
      EXPECT_GT(Distance(looks[a], looks[b]), a == 0 ? 60.0 : 20.0) << "sheets " << a << " and " << b;
  // The player is the only blue soldier.
  EXPECT_GT(looks[0].b, looks[0].r + 30);
  for (size_t k = 1; k < looks.size(); ++k) EXPECT_LT(looks[k].b, looks[k].r + 10) << k;
}

TEST(ContentArt, ExplosionFlashesThenBurnsThenSmokes) {
  Surface s = Load("Explosion.jpg");
  auto bright = [&](int f) {
    Mean m = OpaqueMean(s, 64 * f, 0, 64, 64, 0, 64);
    return (m.r + m.g + m.b) / 3;
  };
  auto redness = [&](int f) {
    Mean m = OpaqueMean(s, 64 * f, 0, 64, 64, 0, 64);
    return m.r - m.b;
  };
  for (int f = 0; f <= 3; ++f) EXPECT_GT(bright(f), 170) << "flash frame " << f;
  for (int f = 5; f <= 11; ++f) EXPECT_GT(redness(f), 80) << "fire frame " << f;
  for (int f = 16; f <= 26; f += 2) EXPECT_LT(redness(f), 40) << "smoke frame " << f;
}

TEST(ContentArt, CratesAndDrugIconsSayWhatTheyAre) {
  Surface health = Load("Health.jpg");
  for (int f = 0; f < 2; ++f) {
    Color centre = GetPixel(health, 7 * f + 3, 3), corner = GetPixel(health, 7 * f + 1, 1);
    EXPECT_GT(RedOf(centre), GreenOf(centre) + 100) << "red cross";
    EXPECT_GT(std::min({RedOf(corner), GreenOf(corner), BlueOf(corner)}), 180) << "white crate";
  }
  Surface ammo = Load("Ammo.jpg");
  Mean olive = OpaqueMean(ammo, 0, 0, 9, 7, 0, 0);
  EXPECT_GT(olive.g, olive.b + 20);
  Surface icons = Load("AcidHearth.jpg");
  Mean good = OpaqueMean(icons, 0, 0, 30, 30, 0, 30), bad = OpaqueMean(icons, 30, 0, 30, 30, 0, 30);
  EXPECT_GT(good.g, good.r + 40) << "good is green";
  EXPECT_GT(bad.b, bad.g + 40) << "bad is purple";
  Mean mixedLeft = OpaqueMean(icons, 60, 0, 15, 30, 0, 30),
       mixedRight = OpaqueMean(icons, 75, 0, 15, 30, 0, 30);
  EXPECT_GT(mixedLeft.g, mixedRight.g + 40) << "mixed is half good, half bad";
}

TEST(ContentArt, AircraftFliesRightAndCleanerScrubsDownward) {
  // The propeller leads: the plane reaches further right of its centre than left.
  Surface plane = Load("AirPlane.jpg");
  int left = 40, right = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      bool white = false;
      MaskError(GetPixel(plane, 40 + x, y), white);
      if (!white) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  EXPECT_GT(right - 20, 20 - left);
  // The brush roller runs the full width at the front (bottom) of the cleaner, where the cleaned
  // strip is laid at its y + 40.
  Surface cleaner = Load("Cleaner.jpg");
  for (int x = 2; x < 48; x += 4) {
    bool white = false;
    MaskError(GetPixel(cleaner, 50 + x, 55), white);
    EXPECT_FALSE(white) << x;
  }
}

}  // namespace
}  // namespace vorlan
