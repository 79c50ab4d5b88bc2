#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

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

// Focus and a failing switch to full screen are checked through the game: name entry and start-up.
TEST(HeadlessPlatform, CursorIsReportedFromTheFieldOriginOfTheDisplayMode) {
  HeadlessPlatform p;
  p.SetCursorField(10, 20);
  for (auto [full, dx, dy] : {std::tuple{false, 4, 23}, {true, 170, 50}}) {
    ASSERT_TRUE(p.SetFullScreen(full));
    int x, y, l, t, r, b;
    p.GetCursorPos(x, y);
    p.GetWindowRect(l, t, r, b);
    EXPECT_EQ(std::pair(x - l, y - t), std::pair(10 + dx, 20 + dy)) << full;
  }
}

}  // namespace
}  // namespace vorlan
