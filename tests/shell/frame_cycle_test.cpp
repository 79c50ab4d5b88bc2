#include "shell/frame_cycle.h"

#include <gtest/gtest.h>

#include "numbers.h"
#include "platform/headless_platform.h"
#include "sound/sound_bank.h"

namespace vorlan {
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
  int Plays(int index) {
    int n = 0;
    for (auto& c : plat.audioCalls) n += c.index == index && c.op == HeadlessPlatform::AudioCall::Op::Play;
    return n;
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
  EXPECT_EQ(plat.GetTickCount(), 5076u);
  EXPECT_EQ(g.timing.IdleSpins, 0);
  EXPECT_EQ(g.timing.NextFrameTick, 5106u);
}

TEST_F(FrameCycleTest, OncePerSecondTheFrameRateIsTaken) {
  GameTick(g);  // the first second step
  int ticks = 1;
  while (plat.GetTickCount() < 6000) GameTick(g), ++ticks;
  EXPECT_EQ(g.timing.LastSecondTick, 5000u);
  EXPECT_EQ(g.timing.MaxIdleSpins, 31000);
  uint32_t now = plat.GetTickCount();
  GameTick(g);
  EXPECT_EQ(g.timing.LastSecondTick, now);
  EXPECT_EQ(g.timing.FramesLastSecond, ticks);
  EXPECT_EQ(g.timing.FrameCounter, 1);
}

TEST_F(FrameCycleTest, TheClockRunsOnlyInAnUnpausedGameSoTheAlarmSoundsOnce) {
  g.timing.GameMinutes = 2, g.timing.GameSeconds = 55;
  for (int16_t inGame : {kFalse, kTrue}) {
    g.form.InGame = inGame;
    plat.AdvanceMs(1000);
    GameTick(g);
  }
  EXPECT_EQ(g.timing.GameSeconds, 56);  // the menus do not count
  g.form.Paused = kTrue;
  for (int i = 0; i < 3; ++i) plat.AdvanceMs(1000), GameTick(g);
  EXPECT_EQ(g.timing.GameSeconds, 56);
  g.form.Paused = kFalse;
  plat.AdvanceMs(1000);
  GameTick(g);  // 2:57
  g.form.Paused = kTrue;
  for (int i = 0; i < 3; ++i) plat.AdvanceMs(1000), GameTick(g);
  EXPECT_EQ(Plays(snd::Alarm), 1);
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
  EXPECT_EQ(spawnsAt(11, 0, 6), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(spawnsAt(21, 0, 3), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(spawnsAt(5, 30, 4), (std::vector<int>{2, 4}));
}

TEST_F(FrameCycleTest, WavesStartOnTheMinuteAndRestartARunningPeriod) {
  g.form.InGame = kTrue;
  g.timing.GameMinutes = 2, g.timing.GameSeconds = 59;
  Seconds(1);  // 3:00
  EXPECT_EQ(g.timing.GameMinutes, 3);
  EXPECT_EQ(g.timing.WaveLeft, 5);
  EXPECT_EQ(g.timing.WaveCountdown, 59);
  EXPECT_EQ(g.timing.WavePending, kFalse);
  g.timing.GameMinutes = 17, g.timing.GameSeconds = 59, g.timing.WaveCountdown = 20;
  Seconds(1);  // 18:00
  EXPECT_EQ(g.timing.WaveLeft, 35);
  EXPECT_EQ(g.timing.WaveCountdown, 59);
}

TEST_F(FrameCycleTest, SustainedFireLevelsUpButNotUnderAcid) {
  Soldier& p = g.world.Soldiers[0];
  g.input.MouseLeft = kTrue;
  p.Ammo = 50, p.TimeExp = 95;
  Seconds(3);  // streaks 1, 2, 3: 95.2, 95.4, 95.6 to the nearest
  EXPECT_EQ(p.TimeExp, 96);
  Seconds(4);  // ... streak 7 passes 99
  EXPECT_EQ(p.RechargeTime, 9);
  EXPECT_EQ(p.TimeExp, 0);
  EXPECT_EQ(g.timing.FireStreak, 0);
  EXPECT_EQ(Plays(snd::LevelUp), 1);

  p.TimeExp = 100, g.timing.FireStreak = 7, g.world.AcidTimer[2] = 40;
  Seconds(1);
  EXPECT_EQ(g.timing.FireStreak, 7);
  EXPECT_EQ(p.RechargeTime, 9);
  g.world.AcidTimer[2] = 0, p.Ammo = 0;  // no ammunition: the streak breaks
  Seconds(1);
  EXPECT_EQ(g.timing.FireStreak, 0);
}

TEST_F(FrameCycleTest, HealthDriftsTowardTheCeilingAndSinksFastFarAboveIt) {
  Soldier& p = g.world.Soldiers[0];
  for (auto [before, after] : {std::pair{100.f, 101.f}, {130.f, 128.f}, {300.f, 292.f}}) {
    p.Health = before;
    Seconds(1);
    EXPECT_FLOAT_EQ(p.Health, after);
  }
}

}  // namespace
}  // namespace vorlan
