#include "platform/media/media.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(MediaTest, BmpRoundTripIsExactAndJpegKeepsMasksPureAndColoursClose) {
  Surface s = TestPicture(), bmp, jpeg;
  ASSERT_TRUE(plat.SaveBmp(s, Dir() / "shot.bmp"));
  ASSERT_TRUE(plat.LoadPicture(Dir() / "shot.bmp", bmp));
  EXPECT_EQ(bmp.Pixels(), s.Pixels());
  EXPECT_EQ(ReadWholeFile(Dir() / "shot.bmp").value_or("").substr(0, 2), "BM");
  ASSERT_TRUE(plat.SaveJpeg(s, Dir() / "pic.jpg", 95));
  ASSERT_TRUE(plat.LoadPicture(Dir() / "pic.jpg", jpeg));
  ASSERT_EQ(jpeg.Pixels().size(), s.Pixels().size());
  int worst[2] = {0, 0};  // the colour half, the black and white half; the seam between is left out
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) {
      Color a = s.Row(y)[x], b = jpeg.Row(y)[x];
      if (x < 28 || x >= 36) {
        worst[x >= 36] = std::max({worst[x >= 36], std::abs(RedOf(a) - RedOf(b)),
                                   std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
      }
    }
  EXPECT_LT(worst[0], 16);
  EXPECT_LT(worst[1], 55);  // without chroma subsampling black stays near black, white near white
}

TEST_F(MediaTest, DamagedOrMissingFilesFailWithoutTouchingTheSurface) {
  Surface s(3, 3, Rgb(1, 2, 3));
  const Surface before = s;
  WriteWholeFile(Dir() / "bad.jpg", std::string("\xFF\xD8\xFF\xE0garbage", 10));
  WriteWholeFile(Dir() / "bad.bmp", "BM\x10\x00\x00\x00");
  for (const char* name : {"none.jpg", "bad.jpg", "bad.bmp"})
    EXPECT_FALSE(plat.LoadPicture(Dir() / name, s)) << name;
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

TEST_F(MediaTest, SizesComeFromTheHeaderAndHugePicturesAreRefusedBeforeDecoding) {
  ASSERT_TRUE(plat.SaveJpeg(TestPicture(), Dir() / "pic.jpg", 90));
  ASSERT_TRUE(plat.SaveBmp(TestPicture(), Dir() / "pic.bmp"));
  int w = 0, h = 0;
  for (const char* name : {"pic.jpg", "pic.bmp"}) {
    ASSERT_TRUE(plat.PictureSize(Dir() / name, w, h)) << name;
    EXPECT_EQ(std::pair(w, h), std::pair(64, 40)) << name;
  }
  WriteWholeFile(Dir() / "notes.jpg", "not a picture");
  EXPECT_FALSE(plat.PictureSize(Dir() / "notes.jpg", w, h));
  // The same files claiming 8000 x 8000: decoding them would take a quarter of a gigabyte.
  auto jpeg = *ReadWholeFile(Dir() / "pic.jpg");
  size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg.replace(sof + 5, 4, "\x1F\x40\x1F\x40");
  auto bmp = *ReadWholeFile(Dir() / "pic.bmp");
  bmp.replace(18, 8, std::string("\x40\x1F\0\0\x40\x1F\0\0", 8));
  WriteWholeFile(Dir() / "huge.jpg", jpeg);
  WriteWholeFile(Dir() / "huge.bmp", bmp);
  Surface s;
  for (const char* name : {"huge.jpg", "huge.bmp"}) {
    ASSERT_TRUE(plat.PictureSize(Dir() / name, w, h)) << name;
    EXPECT_EQ(std::pair(w, h), std::pair(8000, 8000)) << name;
    EXPECT_FALSE(plat.LoadPicture(Dir() / name, s)) << name;
  }
  EXPECT_TRUE(s.Empty());
}

}  // namespace
}  // namespace vorlan
