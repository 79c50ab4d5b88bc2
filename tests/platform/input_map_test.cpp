#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/canvas_layout.h"
#include "platform/key_map.h"

namespace vorlan {
namespace {

// SDL scancodes (USB usage numbers) of some keys the game reads.
constexpr int kScA = 4, kScW = 26, kScX = 27, kSc0 = 39, kScInsert = 73, kScUp = 82, kScKpEnter = 88,
              kScLCtrl = 224, kScRCtrl = 228;
constexpr int Sym(int scancode) { return scancode | (1 << 30); }  // keycode of a key without a character

TEST(KeyMap, KeysHaveTheirDirectInputScanCodesAndNoTwoShareOne) {
  // The extended keys (0x80 and up) are the ones easily got wrong.
  std::pair<int, int> keys[] = {{kScX, 0x2D},     {kSc0, 0x0B},  {kScKpEnter, 0x9C},
                                {kScRCtrl, 0x9D}, {kScUp, 0xC8}, {kScInsert, 0xD2}};
  for (auto [sc, dik] : keys) EXPECT_EQ(ScancodeToDik(sc), dik) << "scancode " << sc;
  EXPECT_EQ(ScancodeToDik(0), 0);
  EXPECT_EQ(ScancodeToDik(300), 0);
  // No two keys share a scan code (the two backslash positions of some keyboards excepted).
  std::set<int> seen;
  for (int sc = 0; sc < 512; ++sc) {
    int dik = ScancodeToDik(sc);
    if (dik == 0) continue;
    EXPECT_LT(dik, 256);
    EXPECT_TRUE(dik == 0x2B || seen.insert(dik).second) << "scan code " << dik << " twice";
  }
}

TEST(KeyMap, KeyEventsCarryWindowsVirtualKeyCodes) {
  std::pair<int, int> keys[] = {{'w', 0x57},      {'7', '7'},           {127, 46},
                                {'-', 189},       {Sym(kScLCtrl), 17},  {Sym(kScRCtrl), 17},
                                {Sym(kScUp), 38}, {Sym(kScKpEnter), 13}};
  for (auto [sym, vk] : keys) EXPECT_EQ(KeycodeToVk(sym), vk) << "keycode " << sym;
  EXPECT_EQ(KeycodeToVk(0xE9), 0);  // a letter of another alphabet
  // Keys whose layout gives no Latin letter still count by their place: W steers up.
  EXPECT_EQ(KeyToVk(0x0446, kScW), 0x57);
  EXPECT_EQ(KeyToVk(0x0444, kScA), 0x41);
  EXPECT_EQ(KeyToVk('z', kScW), 'Z');  // a layout's own letter wins
  EXPECT_EQ(ModifiersToShift(0x0001), 1);
  EXPECT_EQ(ModifiersToShift(0x0080), 2);
  EXPECT_EQ(ModifiersToShift(0x0100 | 0x0002), 5);
  EXPECT_EQ(ModifiersToShift(0x1000), 0);  // Num Lock is no modifier
}

TEST(CanvasLayout, CursorMapsThroughScaleAndLetterboxIntoFieldPixels) {
  struct Case {
    bool full;
    int winW, winH;
    double px, py;
    double fx, fy;
  } cases[] = {
      {false, 300, 378, 299, 299, 299, 299},
      {false, 300, 378, 150, 350, 150, 350},  // over StatusField: below the field
      {false, 600, 756, 1, 1, 0, 0},          // one game pixel is two window pixels
      {false, 600, 756, 301, 8, 150, 4},
      {true, 640, 480, 469, 349, 299, 299},
      {true, 640, 480, 0, 0, -170, -50},
      {true, 1920, 1080, 660, 160, 0, 0},  // scale 2, canvas 1280 x 960 at (320, 60)
      {true, 1920, 1080, 659, 159, -1, -1},
      {true, 1366, 768, 363 + 170, 144 + 50, 0, 0},  // scale 1, canvas at (363, 144)
  };
  for (const Case& c : cases) {
    CanvasLayout l = LayoutFor(c.full);
    Viewport v = FitCanvas(c.winW, c.winH, l.canvasW, l.canvasH);
    double fx, fy;
    WindowToField(c.px, c.py, v, l, fx, fy);
    EXPECT_EQ(fx, c.fx) << c.winW << " at " << c.px;
    EXPECT_EQ(fy, c.fy) << c.winW << " at " << c.py;
  }
}

TEST(CanvasLayout, WindowIsTwiceTheCanvasOrMoreInWholeStepsElseFittedSmoothly) {
  struct Size {
    int usableW, usableH, w, h;
  } sizes[] = {
      {1920, 1040, 600, 756},  // 756 + frame fits, 1134 does not
      {2560, 1400, 900, 1134},
      {1024, 768, 546, 688},  // no room for twice: the largest smooth fit
      {320, 240, 300, 378},   // never below the canvas
      {0, 0, 300, 378},
  };
  for (const Size& c : sizes) {
    int w = 0, h = 0;
    ChooseWindowSize(c.usableW, c.usableH, w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(c.w, c.h)) << c.usableW << " x " << c.usableH;
  }
  // Any client size: whole steps of two or more letterboxed, else the fractional fit.
  Viewport v = FitCanvas(700, 800, 300, 378, 2);
  EXPECT_EQ(std::vector<double>({v.scale, double(v.offX), double(v.offY), double(v.smooth)}),
            std::vector<double>({2, 50, 22, 0}));
  v = FitCanvas(546, 688, 300, 378, 2);
  EXPECT_TRUE(v.smooth);
  EXPECT_NEAR(v.scale, 1.82, 1e-9);
  EXPECT_EQ(std::pair(v.w, v.h), std::pair(546, 688));
  double fx, fy;
  WindowToField(100, 545, v, LayoutFor(false), fx, fy);  // the cursor follows the fractional scale
  EXPECT_EQ(std::pair(fx, fy), std::pair(54.0, 299.0));
  EXPECT_FALSE(FitCanvas(450, 378, 300, 378, 2).smooth);  // exactly the canvas: no filtering
  // A display smaller than the full-screen canvas shrinks it rather than cutting it off.
  v = FitCanvas(320, 240, 640, 480);
  EXPECT_DOUBLE_EQ(v.scale, 0.5);
  EXPECT_EQ(v.w, 320);
  int x, y, w, h;
  FieldRectInWindow(FitCanvas(1280, 960, 640, 480), LayoutFor(true), x, y, w, h);
  EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({340, 100, 600, 600}));
}

}  // namespace
}  // namespace vorlan
