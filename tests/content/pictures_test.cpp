// The generated pictures as the game loads them: sizes, frame layouts, clean masks after JPEG
// decoding and full-resolution colour.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/picture_catalogue.h"
#include "platform/media/media.h"
#include "platform/surface.h"
#include "support/test_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

fs::path PictureFile(const std::string& name) { return testing::BuiltProgramDir() / "Pictures" / name; }

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

// Every catalogue row has its file at its size; a masked row's frames have clean masks.
TEST(ContentPictures, EveryRowHasItsSizeAndMaskedFramesHaveCleanMasks) {
  for (const PictureRow& row : PictureCatalogue()) {
    SCOPED_TRACE(row.file);
    Surface s = Load(row.file);
    ASSERT_EQ(s.Width(), row.width);
    ASSERT_EQ(s.Height(), row.height);
    const FrameLayout& f = row.frames;
    if (!f.Masked()) continue;
    for (int k = 0; k < f.count; ++k) {
      SCOPED_TRACE("frame " + std::to_string(k));
      int ix = k * f.dx, iy = k * f.dy;
      int worstMask = 0, worstBlack = 0, opaque = 0, seeThrough = 0, visible = 0;
      for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
          bool white = false;
          worstMask = std::max(worstMask, MaskError(GetPixel(s, ix + f.mx + x, iy + f.my + y), white));
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
      const std::string file = row.file;
      if (file != "EnterText.jpg" && file != "SliderMenu.jpg" && file != "LayerScore.jpg") {
        EXPECT_GT(seeThrough, 0) << "a sprite without transparency";
      }
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
  EXPECT_EQ(checked, static_cast<int>(PictureCatalogue().size())) << "a picture without a catalogue row";
}

}  // namespace
}  // namespace vorlan
