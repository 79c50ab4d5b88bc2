#include "platform/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
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

// The raster operations themselves draw every sprite of the seeded game, whose fingerprint holds them.

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
  // A line leaving the surface is clipped.
  MoveToEx(s, -5, 9);
  LineTo(s, 20, 9);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(GetPixel(s, x, 9), s.foreColor);
}

// The blend itself draws the menus and status lines of the seeded game; here its edges.
TEST(AlphaBlendCopy, ClipsLikeACopyAndStretchesWhenSizesDiffer) {
  EXPECT_EQ(AlphaByte(100), 255);  // out of range: never more than a byte, never negative
  EXPECT_EQ(AlphaByte(-5), 0);
  Surface src(2, 2, Rgb(255, 255, 255));
  src.Row(1)[1] = 0;
  const Color half = Rgb(128, 128, 128);
  Surface dst(5, 5, 0);
  AlphaBlendCopy(src, 3, 3, 2, 2, dst, 0, 0, 2, 2, 50);
  EXPECT_EQ(std::vector({GetPixel(dst, 3, 3), GetPixel(dst, 4, 4), GetPixel(dst, 2, 2)}),
            std::vector({half, 0u, 0u}));
  // Off the edge: the part inside is drawn, nothing else moves; (0, 0) shows the black source pixel.
  Surface edge(3, 3, 0);
  AlphaBlendCopy(src, -1, -1, 2, 2, edge, 0, 0, 2, 2, 50);
  EXPECT_EQ(std::vector({GetPixel(edge, 0, 0), GetPixel(edge, 1, 0)}), std::vector({0u, 0u}));
  // Stretched 2 x 2 onto 4 x 4: each source pixel covers a 2 x 2 block.
  Surface big(4, 4, 0);
  AlphaBlendCopy(src, 0, 0, 4, 4, big, 0, 0, 2, 2, 50);
  EXPECT_EQ(std::vector({GetPixel(big, 1, 1), GetPixel(big, 2, 1), GetPixel(big, 2, 2), GetPixel(big, 3, 3)}),
            std::vector({half, half, 0u, 0u}));
}

// Green text on black, or opaque on blue, 12 points at (10, 5).
Surface Text(const TextRenderer& fonts, std::string_view text, int count, bool opaque = false) {
  Surface s(200, 30, 0);
  s.foreColor = Rgb(0, 255, 0);
  s.backColor = Rgb(0, 0, 255);
  s.transparentText = !opaque;
  s.fontSize = 12;
  TextOutA(s, fonts, 10, 5, text, count);
  return s;
}

// How the letters look is held by the seeded game's fingerprint; here the counts and the box.
TEST(TextOutA, DrawsOnlyTheGivenCountAndBlanksOnlyWhenOpaque) {
  auto fonts = MakeTextRenderer();
  const Surface blank(200, 30, 0);
  EXPECT_NE(Text(*fonts, "SCORE", 5).Pixels(), blank.Pixels());
  EXPECT_EQ(Text(*fonts, "SCORE 1234", 5).Pixels(), Text(*fonts, "SCORE", 5).Pixels());
  // A count past the end draws the whole text.
  EXPECT_EQ(Text(*fonts, "SCORE 1234", 40).Pixels(), Text(*fonts, "SCORE 1234", 10).Pixels());
  for (int count : {0, -3}) EXPECT_EQ(Text(*fonts, "SCORE", count).Pixels(), blank.Pixels()) << count;
  EXPECT_EQ(Text(*fonts, "    ", 4).Pixels(), blank.Pixels());
  // The trailing blanks wipe what was there: the background reaches well past the letter.
  Surface s = Text(*fonts, "A    ", 5, true);
  EXPECT_EQ(GetPixel(s, 30, 6), Rgb(0, 0, 255));
  EXPECT_EQ(GetPixel(s, 190, 6), 0u);
  auto width = [&](FontFace face, bool bold, const char* text) {
    return fonts->Render(text, face, 10, bold).width;
  };
  EXPECT_GT(width(FontFace::Sans, true, "Health"), width(FontFace::Sans, false, "Health"));
  EXPECT_EQ(width(FontFace::Mono, false, "iiii"), width(FontFace::Mono, false, "MMMM"));
}

}  // namespace
}  // namespace vorlan
