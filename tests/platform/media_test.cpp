#include "platform/media/media.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/headless/headless_platform.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

// A picture with smooth colour gradients and a hard black and white block pattern, like a
// sprite sheet with its mask.
Surface TestPicture() {
  Surface s(64, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) {
      bool mask = x >= 32;
      s.Row(y)[x] = mask ? (((x / 3) + (y / 2)) % 2 ? Rgb(255, 255, 255) : 0) : Rgb(x * 4, y * 6, 128);
    }
  return s;
}

class MediaTest : public ::testing::Test {
 protected:
  HeadlessPlatform plat;
  fs::path Dir() const { return plat.ProgramDir(); }
};

TEST_F(MediaTest, BmpRoundTripIsExact) {
  Surface s = TestPicture(), back;
  ASSERT_TRUE(plat.SaveBmp(s, Dir() / "shot.bmp"));
  ASSERT_TRUE(plat.LoadPicture(Dir() / "shot.bmp", back));
  EXPECT_EQ(back.Pixels(), s.Pixels());
  auto bytes = ReadWholeFile(Dir() / "shot.bmp").value_or("");
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);  // bits per pixel
}

TEST_F(MediaTest, JpegKeepsMasksPureAndColoursClose) {
  Surface s = TestPicture(), back;
  ASSERT_TRUE(plat.SaveJpeg(s, Dir() / "pic.jpg", 95));
  ASSERT_TRUE(plat.LoadPicture(Dir() / "pic.jpg", back));
  ASSERT_EQ(back.Pixels().size(), s.Pixels().size());
  int worst = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) {
      Color a = s.Row(y)[x], b = back.Row(y)[x];
      if (x >= 36) {
        // Without chroma subsampling, black stays near black and white near white.
        bool white = a != 0;
        EXPECT_TRUE(white ? (RedOf(b) > 200 && BlueOf(b) > 200) : (RedOf(b) < 55 && BlueOf(b) < 55))
            << x << "," << y;
      } else if (x < 28) {
        worst = std::max({worst, std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                          std::abs(BlueOf(a) - BlueOf(b))});
      }
    }
  EXPECT_LT(worst, 16);
}

TEST_F(MediaTest, DamagedOrMissingFilesFailWithoutTouchingTheSurface) {
  Surface s(3, 3, Rgb(1, 2, 3));
  const Surface before = s;
  WriteWholeFile(Dir() / "bad.jpg", std::string("\xFF\xD8\xFF\xE0garbage", 10));
  WriteWholeFile(Dir() / "bad.bmp", "BM\x10\x00\x00\x00");
  for (const char* name : {"none.jpg", "bad.jpg", "bad.bmp"}) EXPECT_FALSE(plat.LoadPicture(Dir() / name, s)) << name;
  // A real JPEG cut short still decodes what is there or fails, never crashes.
  ASSERT_TRUE(plat.SaveJpeg(TestPicture(), Dir() / "whole.jpg", 90));
  auto bytes = *ReadWholeFile(Dir() / "whole.jpg");
  WriteWholeFile(Dir() / "cut.jpg", bytes.substr(0, bytes.size() / 2));
  Surface cut;
  plat.LoadPicture(Dir() / "cut.jpg", cut);
  EXPECT_EQ(s.Pixels(), before.Pixels());
  // Saving into a folder that does not exist fails and leaves nothing behind.
  EXPECT_FALSE(plat.SaveJpeg(TestPicture(), Dir() / "no" / "x.jpg", 50));
  EXPECT_FALSE(plat.SaveBmp(TestPicture(), Dir() / "no" / "x.bmp"));
  EXPECT_FALSE(plat.SaveBmp(Surface(), Dir() / "empty.bmp"));
  EXPECT_FALSE(fs::exists(Dir() / "empty.bmp"));
}

}  // namespace
}  // namespace vorlan
