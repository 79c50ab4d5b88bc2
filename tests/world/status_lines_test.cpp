#include "world/status_lines.h"

#include <tuple>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

class StatusLinesTest : public WorldTest {
 protected:
  StatusLinesTest() {
    plat.SetTickCount(100000);
    const char* scores[kHsSlots] = {"900  ", "800  ", "700  ", "600  ", "500  ", "400  ",
                                    "300  ", "200  ", "100  ", "50   ", "10   "};
    for (int i = 0; i < kHsSlots; ++i) g.hs.HsScore[i] = scores[i];
  }

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
  plat.AdvanceMs(99);
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kFalse);
  plat.AdvanceMs(1);
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kTrue);
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

TEST_F(StatusLinesTest, FourQuickKillsPayNothingFivePayOnceTheSeriesEnds) {
  KillsInRow(g, kFalse);
  EXPECT_EQ(g.world.StatusText, "Kills:0/5");
  for (int n = 0; n < 4; ++n) KillsInRow(g, kTrue);
  Frames(3000);
  EXPECT_EQ(std::tuple(g.world.Score, g.world.KillsInRowCount, P().Ammo), std::tuple(0, 0, 20));

  for (int n = 0; n < 5; ++n) {
    KillsInRow(g, kTrue);
    Frames(300);
  }
  EXPECT_EQ(g.world.StatusText, "Kills:5/10");
  Frames(2000);
  EXPECT_EQ(g.world.Score, 0);  // the series is still running
  Frames(1000);
  EXPECT_EQ(std::tuple(g.world.Score, P().Ammo, P().Health), std::tuple(150, 35, 150));
  EXPECT_EQ(std::tuple(g.world.KillsInRowCount, g.world.KillsInRowGoal), std::tuple(0, 5));
}

TEST_F(StatusLinesTest, LongSeriesMultiplyAndSaturate) {
  P().Ammo = 20000;
  g.world.Score = 32000;
  for (int n = 0; n < 21; ++n) KillsInRow(g, kTrue);
  EXPECT_EQ(g.world.KillsInRowGoal, 20);
  Frames(3000);
  EXPECT_EQ(std::tuple(P().Ammo, g.world.Score, P().Health), std::tuple(32767, 32767, 400));
}

TEST_F(StatusLinesTest, TheScoreLineAimsAtTheNextPlace) {
  g.world.ScoreInfoShow = kTrue, g.world.BonusScore = 5;
  for (auto [score, text] : {std::pair{120, "  8(200  )"}, {3, "  10(50)"}, {1000, "  1(900  )"}}) {
    g.world.Score = static_cast<int16_t>(score);
    StatusLines(g);
    EXPECT_EQ(g.world.ScoreInfoText, text);
  }
}

}  // namespace
}  // namespace vorlan::testing
