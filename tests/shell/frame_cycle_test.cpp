#include "shell/frame_cycle.h"

#include <gtest/gtest.h>

#include "sound/sound_bank.h"
#include "support/battlefield.h"

namespace vorlan::testing {
namespace {

class FrameCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat.SetTickCount(5000);
    Soldier& p = g.world.Soldiers[0];
    p.Alive = kTrue, p.Power = 4, p.Health = 120, p.RechargeTime = 10;  // health ceiling 120
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) GameClock(g);
  }
  // Ticks a second apart.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) plat.AdvanceMs(1000), GameTick(g);
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(FrameCycleTest, TickEndsJustPastThirtyMsAfterTheLastOneAndNeverWaitsAfterALongFrame) {
  GameTick(g);
  EXPECT_EQ(g.timing.NextFrameTick, 5030u);
  plat.AdvanceMs(10);
  GameTick(g);
  EXPECT_EQ(plat.GetTickCount(), 5031u);  // the first millisecond after the deadline
  EXPECT_EQ(g.timing.IdleSpins, 21000);   // spare microseconds
  plat.AdvanceMs(45);
  GameTick(g);
  EXPECT_TRUE(plat.GetTickCount() == 5076u && g.timing.IdleSpins == 0 && g.timing.NextFrameTick == 5106u);
}

TEST_F(FrameCycleTest, TheClockRunsOnlyInAnUnpausedGameSoTheAlarmSoundsOnce) {
  g.timing.GameMinutes = 2, g.timing.GameSeconds = 55;
  Ticks(1);  // the menus do not count
  g.form.InGame = kTrue;
  Ticks(1);
  EXPECT_EQ(g.timing.GameSeconds, 56);
  g.form.Paused = kTrue;
  Ticks(3);
  EXPECT_EQ(g.timing.GameSeconds, 56);
  g.form.Paused = kFalse;
  Ticks(1);  // 2:57
  g.form.Paused = kTrue;
  Ticks(3);
  EXPECT_EQ(AudioCount(plat, snd::Alarm), 1);
}

TEST_F(FrameCycleTest, SpawnIntervalShortensWithTheMinutesAndDuringWaves) {
  auto spawnsAt = [&](int16_t minute, int16_t countdown, int seconds) {
    g.timing.GameMinutes = minute, g.timing.GameSeconds = 0, g.timing.SpawnTimer = 0;
    g.timing.WaveCountdown = countdown;
    std::vector<int> at;
    for (int s = 1; s <= seconds; ++s)
      if (GameClock(g), g.timing.SpawnTimer == 0) at.push_back(s);
    return at;
  };
  EXPECT_EQ(spawnsAt(0, 0, 6), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(spawnsAt(1, 0, 9), (std::vector<int>{3, 6, 9}));
  EXPECT_EQ(spawnsAt(21, 0, 3), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(spawnsAt(5, 30, 4), (std::vector<int>{2, 4}));
}

TEST_F(FrameCycleTest, SustainedFireLevelsUpButNotUnderAcid) {
  Soldier& p = g.world.Soldiers[0];
  g.input.MouseLeft = kTrue;
  p.Ammo = 50, p.TimeExp = 95;
  Seconds(3);  // streaks 1, 2, 3: 95.2, 95.4, 95.6 to the nearest
  EXPECT_EQ(p.TimeExp, 96);
  Seconds(4);  // ... streak 7 passes 99
  EXPECT_TRUE(p.RechargeTime == 9 && p.TimeExp == 0 && g.timing.FireStreak == 0);
  EXPECT_EQ(AudioCount(plat, snd::LevelUp), 1);

  p.TimeExp = 100, g.timing.FireStreak = 7, g.world.AcidTimer[2] = 40;
  Seconds(1);
  EXPECT_TRUE(g.timing.FireStreak == 7 && p.RechargeTime == 9);
}

}  // namespace
}  // namespace vorlan::testing
