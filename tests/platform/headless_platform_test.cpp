#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

namespace vorlan {
namespace {

TEST(HeadlessPlatform, WaitPastTickMovesTheVirtualClockJustPast) {
  HeadlessPlatform p;
  uint32_t t = p.GetTickCount();
  p.WaitPastTick(t + 20);
  EXPECT_EQ(p.GetTickCount(), t + 21);
  p.WaitPastTick(t);  // already past: the clock stays
  EXPECT_EQ(p.GetTickCount(), t + 21);
  EXPECT_EQ(p.GetMicros(), uint64_t{t + 21} * 1000);
}

TEST(HeadlessPlatform, KeyboardReadsNothingWithoutFocus) {
  HeadlessPlatform p;
  p.SetKey(0x2D, true);
  uint8_t keys[256];
  ASSERT_TRUE(p.GetKeyboardState(keys));
  EXPECT_EQ(keys[0x2D], 0x80);
  p.SetFocus(false);
  ASSERT_TRUE(p.GetKeyboardState(keys));
  for (int i = 0; i < 256; ++i) EXPECT_EQ(keys[i], 0) << i;
}

TEST(HeadlessPlatform, CursorIsReportedFromTheFieldOriginOfTheDisplayMode) {
  HeadlessPlatform p;
  p.SetCursorField(10, 20);
  int x, y, l, t, r, b;
  p.GetCursorPos(x, y);
  p.GetWindowRect(l, t, r, b);
  EXPECT_EQ(x - l, 10 + 4);
  EXPECT_EQ(y - t, 20 + 23);
  ASSERT_TRUE(p.SetFullScreen(true));
  p.GetCursorPos(x, y);
  p.GetWindowRect(l, t, r, b);
  EXPECT_EQ(x - l, 10 + 170);
  EXPECT_EQ(y - t, 20 + 50);
  p.SetFullScreen(false);
  p.SetFullScreenFails(true);
  EXPECT_FALSE(p.SetFullScreen(true));
  EXPECT_FALSE(p.fullScreen);
}

}  // namespace
}  // namespace vorlan
