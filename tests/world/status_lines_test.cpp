#include "world/status_lines.h"

#include <tuple>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

class StatusLinesTest : public WorldTest {
 protected:
  StatusLinesTest() { plat.SetTickCount(100000); }

  // Frames of KillsInRow(false), 30 ms apart, for the given time.
  void Frames(int ms) {
    for (int t = 0; t < ms; t += 30) {
      plat.AdvanceMs(30);
      KillsInRow(g, kFalse);
    }
  }
};

TEST_F(StatusLinesTest, IntervalTimersFireOncePerIntervalAcrossTheTickWrap) {
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kTrue);  // never fired: long overdue
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kFalse);
  plat.AdvanceMs(5000);
  EXPECT_EQ(IntervalElapsed(g, 4, 0), kFalse);  // interval 0 never fires
  EXPECT_EQ(IntervalElapsed(g, 11, 100), kFalse);
  EXPECT_EQ(IntervalElapsed(g, -1, 100), kFalse);
  // The tick count wrapping round.
  plat.SetTickCount(0xFFFFFFF0u);
  EXPECT_EQ(IntervalElapsed(g, 2, 100), kTrue);
  plat.SetTickCount(0x00000010u);  // 32 ms later, across the wrap
  EXPECT_EQ(IntervalElapsed(g, 2, 100), kFalse);
  plat.SetTickCount(0x00000060u);
  EXPECT_EQ(IntervalElapsed(g, 2, 100), kTrue);
}

TEST_F(StatusLinesTest, LongSeriesMultiplyAndSaturate) {
  P().Ammo = 20000;
  g.world.Score = 32000;
  for (int n = 0; n < 21; ++n) KillsInRow(g, kTrue);
  EXPECT_EQ(g.world.KillsInRowGoal, 20);
  Frames(3000);
  EXPECT_EQ(std::tuple(P().Ammo, g.world.Score, P().Health), std::tuple(32767, 32767, 400));
}

}  // namespace
}  // namespace vorlan::testing
