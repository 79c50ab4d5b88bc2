#include "world/status_lines.h"

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

TEST_F(StatusLinesTest, IntervalTimersFireOncePerInterval) {
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kTrue);  // never fired: long overdue
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kFalse);
  plat.AdvanceMs(99);
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kFalse);
  plat.AdvanceMs(1);
  EXPECT_EQ(IntervalElapsed(g, 3, 100), kTrue);
  EXPECT_EQ(g.world.IntervalTimers[3].LastTick, 100100u);
  // Interval 0 never fires, however long it waits.
  for (int n = 0; n < 3; ++n) {
    plat.AdvanceMs(5000);
    EXPECT_EQ(IntervalElapsed(g, 4, 0), kFalse);
  }
  EXPECT_EQ(IntervalElapsed(g, 11, 100), kFalse);
  EXPECT_EQ(IntervalElapsed(g, -1, 100), kFalse);
}

TEST_F(StatusLinesTest, IntervalTimersSurviveTheTickCountWrapping) {
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
  EXPECT_EQ(g.world.Score, 0);
  EXPECT_EQ(g.world.KillsInRowCount, 0);
  EXPECT_EQ(P().Ammo, 20);

  for (int n = 0; n < 5; ++n) {
    KillsInRow(g, kTrue);
    Frames(300);
  }
  EXPECT_EQ(g.world.StatusText, "Kills:5/10");
  Frames(2000);
  EXPECT_EQ(g.world.Score, 0);  // the series is still running
  Frames(1000);
  EXPECT_EQ(g.world.Score, 150);
  EXPECT_EQ(P().Ammo, 35);
  EXPECT_FLOAT_EQ(P().Health, 150);
  EXPECT_EQ(g.world.KillsInRowCount, 0);
  EXPECT_EQ(g.world.KillsInRowGoal, 5);
}

TEST_F(StatusLinesTest, LongSeriesMultiplyAndSaturate) {
  P().Ammo = 20000;
  g.world.Score = 32000;
  for (int n = 0; n < 21; ++n) KillsInRow(g, kTrue);
  EXPECT_EQ(g.world.KillsInRowGoal, 20);
  Frames(3000);
  EXPECT_EQ(P().Ammo, 32767);
  EXPECT_EQ(g.world.Score, 32767);
  EXPECT_FLOAT_EQ(P().Health, 400);
}

TEST_F(StatusLinesTest, TheScoreLineAimsAtTheNextPlace) {
  g.world.ScoreInfoShow = kTrue;
  g.world.Score = 120;
  g.world.BonusScore = 5;
  StatusLines(g);
  EXPECT_EQ(g.world.ScoreInfoText, "  8(200  )");
  g.world.Score = 3;
  StatusLines(g);
  EXPECT_EQ(g.world.ScoreInfoText, "  10(50)");
  g.world.Score = 1000;
  StatusLines(g);
  EXPECT_EQ(g.world.ScoreInfoText, "  1(900  )");
}

TEST_F(StatusLinesTest, TheScoreLineShowsFor241FramesAfterADeath) {
  g.options.OptDebugInfo = 8;
  g.world.ScoreInfoShow = kTrue;
  int shown = 0;
  for (int n = 0; n < 300; ++n) {
    if (n == 100) g.world.ScoreInfoShow = kTrue;  // a further death does not restart it
    const bool before = g.world.ScoreInfoShow != 0;
    StatusLines(g);
    shown += before ? 1 : 0;
  }
  EXPECT_EQ(shown, 241);
  EXPECT_EQ(g.world.ScoreInfoFrames, 0);

  // Standing at the bottom the line is neither drawn nor counted.
  P().Y = 265;
  g.world.ScoreInfoShow = kTrue;
  StatusLines(g);
  EXPECT_EQ(g.world.ScoreInfoFrames, 0);
}

TEST_F(StatusLinesTest, TheInformationLineReportsSnowFramesAndIdleTime) {
  g.world.SnowCount = 120;
  g.timing.FramesLastSecond = 30;
  g.timing.MaxIdleSpins = 1250;
  StatusLines(g);
  EXPECT_EQ(g.world.StatusText, "Snow:120 Fps:30[4]");
  g.world.StatusText = "";
  P().Y = 15;
  StatusLines(g);
  EXPECT_EQ(g.world.StatusText, "");
}

}  // namespace
}  // namespace vorlan::testing
