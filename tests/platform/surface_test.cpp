#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/media/media.h"

namespace vorlan {
namespace {

// A surface whose every pixel tells its own position: 0x00YYXX (plus a tag in blue).
Surface Numbered(int w, int h, int tag = 0) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = Rgb(x, y, tag);
  return s;
}

TEST(BitBlt, RasterOperationsCombineSourceAndDestination) {
  Surface dst(2, 1), src(2, 1);
  dst.Row(0)[0] = 0x00F0F0F0, dst.Row(0)[1] = 0x000000FF;
  src.Row(0)[0] = 0x00FF0F00, src.Row(0)[1] = 0x0000FF00;
  const std::pair<Rop, std::vector<Color>> cases[] = {{Rop::SrcCopy, {0x00FF0F00, 0x0000FF00}},
                                                      {Rop::SrcAnd, {0x00F00000, 0x00000000}},
                                                      {Rop::SrcPaint, {0x00FFFFF0, 0x0000FFFF}}};
  for (const auto& [rop, want] : cases) {
    Surface a = dst;
    BitBlt(a, 0, 0, 2, 1, src, 0, 0, rop);
    EXPECT_EQ(a.Pixels(), want);
  }
}

// Every pixel the copy wrote must come from the source offset by the same amount, and every
// other pixel must be untouched.
void ExpectShiftedCopy(const Surface& dst, const Surface& before, const Surface& src, int dx, int dy, int x0,
                       int y0, int x1, int y1) {
  for (int y = 0; y < dst.Height(); ++y)
    for (int x = 0; x < dst.Width(); ++x) {
      bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
      Color want = inside ? GetPixel(src, x - dx, y - dy) : GetPixel(before, x, y);
      ASSERT_EQ(GetPixel(dst, x, y), want) << "at " << x << "," << y;
    }
}

TEST(BitBlt, ClipsAtEveryEdgeOfBothSurfaces) {
  const Surface src = Numbered(10, 8, 1);
  const Surface blank(12, 9, 0x00ABCDEF);
  struct Case {
    int x, y, w, h, sx, sy;
    int x0, y0, x1, y1;  // destination area expected to change
  } cases[] = {
      {-3, -2, 6, 5, 0, 0, 0, 0, 3, 3},      // destination left and top
      {9, 7, 6, 5, 0, 0, 9, 7, 12, 9},       // destination right and bottom
      {2, 3, 6, 5, -2, -1, 4, 4, 8, 8},      // source left and top
      {1, 1, 6, 5, 7, 6, 1, 1, 4, 3},        // source right and bottom
      {-1, -1, 100, 100, 0, 0, 0, 0, 9, 7},  // larger than both
      {-20, 0, 5, 5, 0, 0, 0, 0, 0, 0},      // wholly outside
      {0, 0, 0, 3, 0, 0, 0, 0, 0, 0},        // nothing to copy
      {0, 0, -4, 3, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Surface dst = blank;
    BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, Rop::SrcCopy);
    SCOPED_TRACE(testing::Message() << "copy to " << c.x << "," << c.y << " from " << c.sx << "," << c.sy);
    ExpectShiftedCopy(dst, blank, src, c.x - c.sx, c.y - c.sy, c.x0, c.y0, c.x1, c.y1);
  }
  Surface dst = blank;
  BitBlt(dst, 0, 0, 5, 5, Surface(), 0, 0, Rop::SrcCopy);  // empty source: nothing happens
  EXPECT_EQ(dst.Pixels(), blank.Pixels());
  EXPECT_EQ(GetPixel(src, 10, 0), kClrInvalid);
  EXPECT_EQ(GetPixel(src, 0, -1), kClrInvalid);
}

TEST(BitBlt, CopyWithinOneSurfaceReadsTheSourceBeforeOverwritingIt) {
  for (auto [dx, dy] : {std::pair{2, 1}, {-2, -1}, {3, 0}, {-3, 0}, {0, 2}, {0, -2}}) {
    SCOPED_TRACE(testing::Message() << "shift " << dx << "," << dy);
    Surface s = Numbered(10, 6);
    const Surface before = s;
    BitBlt(s, 3 + dx, 2 + dy, 5, 3, s, 3, 2, Rop::SrcCopy);
    ExpectShiftedCopy(s, before, before, dx, dy, 3 + dx, 2 + dy, 8 + dx, 5 + dy);
  }
}

TEST(LineTo, DrawsInThePenColourUpToButNotIncludingTheEndPoint) {
  Surface s(10, 10, 0);
  s.foreColor = Rgb(255, 0, 0);
  MoveToEx(s, 1, 1);
  LineTo(s, 5, 1);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(GetPixel(s, x, 1), s.foreColor) << x;
  EXPECT_EQ(GetPixel(s, 5, 1), 0u);
  EXPECT_EQ(s.penX, 5);
  LineTo(s, 8, 4);  // starts where the last one ended
  for (int k = 0; k < 3; ++k) EXPECT_EQ(GetPixel(s, 5 + k, 1 + k), s.foreColor) << k;
  EXPECT_EQ(GetPixel(s, 8, 4), 0u);
  // A line leaving the surface is clipped.
  MoveToEx(s, -5, 9);
  LineTo(s, 20, 9);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(GetPixel(s, x, 9), s.foreColor);
}

TEST(AlphaBlendCopy, BlendsEachChannelBySourceAlphaOverDestination) {
  Surface src(4, 4, Rgb(255, 100, 0));
  // a = nearest(2.56 x percent): 0, 38, 77, 128; each channel (src a + dst (255 - a)) / 255.
  const std::pair<int, Color> wants[] = {
      {0, Rgb(0, 200, 255)}, {15, Rgb(38, 185, 217)}, {30, Rgb(77, 170, 178)}, {50, Rgb(128, 150, 127)}};
  EXPECT_EQ(AlphaByte(100), 255);  // out of range: never more than a byte, never negative
  EXPECT_EQ(AlphaByte(-5), 0);
  for (const auto& [percent, want] : wants) {
    Surface dst(4, 4, Rgb(0, 200, 255));
    AlphaBlendCopy(src, 0, 0, 4, 4, dst, 0, 0, 4, 4, percent);
    EXPECT_EQ(dst.Pixels(), Surface(4, 4, want).Pixels()) << percent;
  }
}

TEST(AlphaBlendCopy, ClipsLikeACopyAndStretchesWhenSizesDiffer) {
  Surface src(2, 2, Rgb(255, 255, 255));
  src.Row(1)[1] = 0;
  Surface dst(5, 5, 0);
  AlphaBlendCopy(src, 3, 3, 2, 2, dst, 0, 0, 2, 2, 50);
  EXPECT_EQ(GetPixel(dst, 3, 3), Rgb(128, 128, 128));
  EXPECT_EQ(GetPixel(dst, 4, 4), 0u);
  EXPECT_EQ(GetPixel(dst, 2, 2), 0u);
  // Off the edge: the part inside is drawn, nothing else moves.
  Surface edge(3, 3, 0);
  AlphaBlendCopy(src, -1, -1, 2, 2, edge, 0, 0, 2, 2, 50);
  EXPECT_EQ(GetPixel(edge, 0, 0), 0u);  // the black source pixel (1, 1)
  EXPECT_EQ(GetPixel(edge, 1, 0), 0u);
  // Stretched 2 x 2 onto 4 x 4: each source pixel covers a 2 x 2 block.
  Surface big(4, 4, 0);
  AlphaBlendCopy(src, 0, 0, 4, 4, big, 0, 0, 2, 2, 50);
  for (auto [x, y] : {std::pair{1, 1}, {2, 1}}) EXPECT_EQ(GetPixel(big, x, y), Rgb(128, 128, 128));
  for (auto [x, y] : {std::pair{2, 2}, {3, 3}}) EXPECT_EQ(GetPixel(big, x, y), 0u);
}

class TextOutTest : public ::testing::Test {
 protected:
  std::unique_ptr<TextRenderer> fonts = MakeTextRenderer();
  // Rightmost column holding ink on a surface of black.
  static int InkRight(const Surface& s) {
    int right = -1;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        if (s.Row(y)[x] != 0) right = std::max(right, x);
    return right;
  }
};

TEST_F(TextOutTest, DrawsOnlyTheGivenCountInTheForeColourWithSmoothEdges) {
  Surface a(200, 30, 0), b(200, 30, 0), c(200, 30, 0), none(200, 30, 0);
  a.foreColor = b.foreColor = c.foreColor = Rgb(255, 255, 255);
  TextOutA(a, *fonts, 2, 2, "SCORE 1234", 5);
  TextOutA(b, *fonts, 2, 2, "SCORE");
  EXPECT_EQ(a.Pixels(), b.Pixels());
  TextOutA(c, *fonts, 2, 2, "SCORE 1234", 40);  // a count beyond the text is clipped to it
  EXPECT_GT(InkRight(c), InkRight(a));
  TextOutA(none, *fonts, 2, 2, "SCORE", 0);
  TextOutA(none, *fonts, 2, 2, "SCORE", -3);
  EXPECT_EQ(InkRight(none), -1);

  Surface s(100, 40, 0);
  s.foreColor = Rgb(0, 255, 0);
  s.fontSize = 12;
  TextOutA(s, *fonts, 10, 5, "Il");
  bool solid = false, partial = false;
  int top = 99, left = 99;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      Color p = s.Row(y)[x];
      if (p == 0) continue;
      EXPECT_EQ(RedOf(p) + BlueOf(p), 0);
      solid = solid || GreenOf(p) > 200;
      partial = partial || GreenOf(p) < 255;
      top = std::min(top, y);
      left = std::min(left, x);
    }
  EXPECT_TRUE(solid);
  EXPECT_TRUE(partial);
  EXPECT_GE(top, 5);
  EXPECT_LT(top, 5 + 8);  // an I of 16 pixels starts a little below the cell top
  EXPECT_GE(left, 10);
  EXPECT_LT(left, 14);
}

TEST_F(TextOutTest, OpaqueBackgroundFillsTheCellAndFacesDiffer) {
  Surface s(200, 30, 0);
  s.foreColor = Rgb(255, 255, 255);
  s.backColor = Rgb(0, 0, 255);
  s.transparentText = false;
  TextOutA(s, *fonts, 0, 0, "A    ");
  // The trailing blanks wipe what was there: the background reaches well past the letter.
  EXPECT_EQ(GetPixel(s, 16, 1), Rgb(0, 0, 255));
  EXPECT_EQ(GetPixel(s, 150, 2), 0u);
  Surface t(50, 30, Rgb(1, 2, 3));
  t.foreColor = Rgb(255, 255, 255);
  TextOutA(t, *fonts, 0, 0, "    ");
  EXPECT_EQ(t.Pixels(), Surface(50, 30, Rgb(1, 2, 3)).Pixels());
  auto width = [&](FontFace face, bool bold, const char* text) {
    return fonts->Render(text, face, 10, bold).width;
  };
  EXPECT_GT(width(FontFace::Sans, true, "Health"), width(FontFace::Sans, false, "Health"));
  EXPECT_EQ(width(FontFace::Mono, false, "iiii"), width(FontFace::Mono, false, "MMMM"));
}

}  // namespace
}  // namespace vorlan
