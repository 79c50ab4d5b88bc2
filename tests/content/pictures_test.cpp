// The generated pictures as the game loads them: sizes, frame layouts, clean masks after JPEG
// decoding and full-resolution colour.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/media/media.h"
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
    {"Logo.jpg", 107, 47, {0, 0, 107, 23, 1, 0, 0, 0, 24}},     {"SliderMenu.jpg", 20, 140, {0, 0, 10, 140, 1, 0, 0, 10, 0}},
    {"LayerScore.jpg", 85, 30, {0, 0, 85, 15, 1, 0, 0, 0, 15}}, {"CursorMenu.jpg", 36, 18, {0, 0, 18, 18, 1, 0, 0, 18, 0}},
    {"EnterText.jpg", 150, 30, {0, 0, 150, 15, 1, 0, 0, 0, 15}}, {"Player.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL0.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}}, {"AiLVL1.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL2.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}}, {"AiLVL3.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AiLVL4.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}}, {"AiLVL5.jpg", 1512, 42, {0, 0, 21, 21, 72, 21, 0, 0, 21}},
    {"AcidHearth.jpg", 90, 60, {0, 0, 30, 30, 3, 30, 0, 0, 30}}, {"BombIcon.jpg", 60, 30, {0, 0, 30, 30, 1, 0, 0, 30, 0}},
    {"BoomDirt.jpg", 128, 64, {0, 0, 64, 64, 1, 0, 0, 64, 0}},  {"Explosion.jpg", 1728, 128, {0, 0, 64, 64, 27, 64, 0, 0, 64}},
    {"AirPlane.jpg", 80, 40, {0, 0, 40, 40, 1, 0, 0, 40, 0}},   {"Cleaner.jpg", 100, 64, {0, 0, 50, 64, 1, 0, 0, 50, 0}},
    {"Dead.jpg", 40, 80, {0, 0, 20, 20, 4, 0, 20, 20, 0}},      {"CursorFire.jpg", 18, 9, {0, 0, 9, 9, 1, 0, 0, 9, 0}},
    {"BulletsOut.jpg", 11, 22, {0, 0, 11, 11, 1, 0, 0, 0, 11}}, {"Ovca.jpg", 828, 33, {0, 0, 23, 16, 36, 23, 0, 0, 17}},
    {"OvcaDead.jpg", 17, 32, {0, 0, 17, 16, 1, 0, 0, 0, 16}},   {"WalkHere.jpg", 40, 20, {0, 0, 20, 20, 1, 0, 0, 20, 0}},
    {"LogoFull.jpg", 107, 80, {0, 0, 107, 40, 1, 0, 0, 0, 40}},
};

struct Plain {
  const char* file;
  int width, height;
};
const Plain kPlain[] = {
    {"StatusBar.jpg", 300, 78},      {"MainLogo.jpg", 300, 300},      {"Loading.jpg", 300, 13},
    {"SliderDrag.jpg", 8, 14},       {"Layer.jpg", 300, 13},          {"Check.jpg", 16, 8},
    {"ScoreUpDown.jpg", 9, 27},      {"Help1.jpg", 23, 32},           {"Help2.jpg", 62, 20},
    {"Help3.jpg", 32, 32},           {"MainMenu.jpg", 270, 270},      {"StatusHealth.jpg", 300, 20},
    {"StatusAmmo.jpg", 300, 20},     {"StatusAccuracy.jpg", 300, 20}, {"StatusRecharge.jpg", 300, 20},
    {"StatusBulletSpeed.jpg", 300, 20}, {"StatusMelee.jpg", 300, 20}, {"Health.jpg", 14, 7},
    {"Ammo.jpg", 18, 7},             {"Acid.jpg", 14, 7},             {"Foot.jpg", 4, 4},
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
