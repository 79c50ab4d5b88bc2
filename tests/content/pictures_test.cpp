// The generated pictures as the game loads them: sizes, frame layouts, clean masks after JPEG
// decoding and full-resolution colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/picture_catalogue.h"
#include "platform/files.h"
#include "platform/media/media.h"
#include "support/test_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

int Brightest(Color c) { return std::max({RedOf(c), GreenOf(c), BlueOf(c)}); }

// How far a decoded mask pixel is from pure white or pure black, and which of the two it is.
int MaskError(Color c, bool& white) {
  white = RedOf(c) + GreenOf(c) + BlueOf(c) > 3 * 128;
  return white ? 255 - std::min({RedOf(c), GreenOf(c), BlueOf(c)}) : Brightest(c);
}

// The SRCAND of a mask keeps bits where it is white: a few levels off white or black change the
// ground only in its lowest bits, so that much JPEG noise is allowed and no more.
constexpr int kMaskTolerance = 6;
constexpr int kBlackTolerance = 12;

// Sampling factors of every colour component, read from the JPEG frame header.
std::vector<int> SamplingFactors(const std::string& b) {
  for (size_t i = 2; i + 9 < b.size();) {
    if (uint8_t(b[i]) != 0xFF) return {};
    uint8_t marker = b[i + 1];
    if (marker >= 0xC0 && marker <= 0xC2) {
      std::vector<int> out;
      for (int c = 0; c < uint8_t(b[i + 9]) && i + 12 + 3 * c < b.size(); ++c)
        out.push_back(uint8_t(b[i + 11 + 3 * c]));
      return out;
    }
    i += 2 + (uint8_t(b[i + 2]) << 8 | uint8_t(b[i + 3]));
  }
  return {};
}

TEST(ContentPictures, EveryRowHasItsSizeFullColourAndCleanMasks) {
  const fs::path dir = testing::BuiltProgramDir() / "Pictures";
  for (const PictureRow& row : PictureCatalogue()) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(SamplingFactors(ReadWholeFile(dir / row.file).value_or("")), std::vector<int>(3, 0x11));
    Surface s;
    ASSERT_TRUE(LoadPictureFile(dir / row.file, s));
    ASSERT_EQ(std::pair(s.Width(), s.Height()), std::pair(row.width, row.height));
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
  auto jpegs = std::count_if(fs::directory_iterator(dir), fs::directory_iterator(),
                             [](const fs::directory_entry& e) { return e.path().extension() == ".jpg"; });
  EXPECT_EQ(jpegs, std::ssize(PictureCatalogue())) << "a picture without a catalogue row";
}

}  // namespace
}  // namespace vorlan
