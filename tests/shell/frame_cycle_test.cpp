#include "shell/frame_cycle.h"

#include <gtest/gtest.h>

#include "numbers.h"
#include "platform/headless_platform.h"
#include "sound/sound_bank.h"

namespace vorlan {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

class TickTest : public ::testing::Test {
 protected:
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(TickTest, EachTickEndsOnTheFirstMillisecondPastThirtyMsAfterThePrevious) {
  plat.SetTickCount(5000);
  GameTick(g);  // first tick: the deadline 0 has long passed
  EXPECT_EQ(plat.GetTickCount(), 5000u);
  EXPECT_EQ(g.timing.IdleSpins, 0);
  EXPECT_EQ(g.timing.NextFrameTick, 5030u);
  plat.AdvanceMs(10);  // a frame of 10 ms
  GameTick(g);
  EXPECT_EQ(plat.GetTickCount(), 5031u);
  EXPECT_EQ(g.timing.IdleSpins, 21000);  // the spare time, in microseconds
  EXPECT_EQ(g.timing.NextFrameTick, 5061u);
}

TEST_F(TickTest, ALongFrameDoesNotWait) {
  plat.SetTickCount(5000);
  GameTick(g);
  plat.AdvanceMs(45);
  GameTick(g);
  EXPECT_EQ(plat.GetTickCount(), 5045u);
  EXPECT_EQ(g.timing.IdleSpins, 0);
  EXPECT_EQ(g.timing.NextFrameTick, 5075u);
}

TEST_F(TickTest, OncePerSecondTheFrameRateIsTakenAndTheSpareTimeRestarts) {
  plat.SetTickCount(5000);
  GameTick(g);  // LastSecondTick 0 <= 4000: the first second step runs here
  EXPECT_EQ(g.timing.LastSecondTick, 5000u);
  int ticks = 0;
  while (plat.GetTickCount() < 6000) {
    GameTick(g);
    ++ticks;
  }
  // Ticks every 31 ms: the step has not run again before a whole second passed.
  EXPECT_EQ(g.timing.LastSecondTick, 5000u);
  EXPECT_GT(g.timing.MaxIdleSpins, 0);
  uint32_t now = plat.GetTickCount();
  GameTick(g);
  EXPECT_EQ(g.timing.LastSecondTick, now);
  EXPECT_EQ(g.timing.FramesLastSecond, ticks + 1);
  EXPECT_EQ(g.timing.FrameCounter, 1);
}

TEST_F(TickTest, TheGameClockRunsOnlyInAnUnpausedGame) {
  plat.SetTickCount(5000);
  g.world.Soldiers[0].Alive = kTrue;
  for (int s = 0; s < 3; ++s) {
    plat.AdvanceMs(1000);
    GameTick(g);
  }
  EXPECT_EQ(g.timing.GameSeconds, 0);  // menus
  g.form.InGame = kTrue;
  g.form.Paused = kTrue;
  for (int s = 0; s < 3; ++s) {
    plat.AdvanceMs(1000);
    GameTick(g);
  }
  EXPECT_EQ(g.timing.GameSeconds, 0);  // paused: the clock stands still
  g.form.Paused = kFalse;
  for (int s = 0; s < 3; ++s) {
    plat.AdvanceMs(1000);
    GameTick(g);
  }
  EXPECT_EQ(g.timing.GameSeconds, 3);
}

class GameClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g.form.InGame = kTrue;
    Soldier& p = g.world.Soldiers[0];
    p.Alive = kTrue;
    p.Power = 4;
    p.Health = 120;
    p.RechargeTime = 10;
    g.options.SoundVolume = 100;
  }
  // The seconds at which the spawn timer was reset, over n seconds.
  std::vector<int> SpawnSeconds(int n) {
    std::vector<int> at;
    for (int s = 1; s <= n; ++s) {
      GameClock(g);
      if (g.timing.SpawnTimer == 0) at.push_back(s);
    }
    return at;
  }
  int Plays(int index) {
    int n = 0;
    for (auto& c : plat.audioCalls)
      if (c.index == index && c.op == Op::Play) ++n;
    return n;
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(GameClockTest, SpawnIntervalShortensWithTheMinutes) {
  EXPECT_EQ(SpawnSeconds(6), (std::vector<int>{2, 4, 6}));
  g.timing.GameMinutes = 1;
  g.timing.GameSeconds = 0;
  g.timing.SpawnTimer = 0;
  EXPECT_EQ(SpawnSeconds(9), (std::vector<int>{3, 6, 9}));
  g.timing.GameMinutes = 11;
  g.timing.GameSeconds = 0;
  g.timing.SpawnTimer = 0;
  EXPECT_EQ(SpawnSeconds(6), (std::vector<int>{2, 4, 6}));
  g.timing.GameMinutes = 21;
  g.timing.GameSeconds = 0;
  g.timing.SpawnTimer = 0;
  EXPECT_EQ(SpawnSeconds(3), (std::vector<int>{1, 2, 3}));
  g.timing.GameMinutes = 5;
  g.timing.GameSeconds = 0;
  g.timing.SpawnTimer = 0;
  g.timing.WaveCountdown = 30;  // a wave period: every 2 seconds
  EXPECT_EQ(SpawnSeconds(4), (std::vector<int>{2, 4}));
}

TEST_F(GameClockTest, MinuteRollsOverAtSixtySeconds) {
  g.timing.GameSeconds = 59;
  GameClock(g);
  EXPECT_EQ(g.timing.GameSeconds, 0);
  EXPECT_EQ(g.timing.GameMinutes, 1);
}

TEST_F(GameClockTest, AlarmThreeSecondsBeforeAWaveThenTheWaveStarts) {
  g.timing.GameMinutes = 2;
  g.timing.GameSeconds = 56;
  GameClock(g);  // 2:57
  EXPECT_EQ(Plays(snd::Alarm), 1);
  GameClock(g);
  GameClock(g);
  GameClock(g);  // 3:00
  EXPECT_EQ(Plays(snd::Alarm), 1);
  EXPECT_EQ(g.timing.WaveLeft, 5);
  EXPECT_EQ(g.timing.WaveCountdown, 59);
  EXPECT_EQ(g.timing.WavePending, kFalse);
  EXPECT_EQ(g.timing.WaveSize, 0);
  // A wave due while the last period still counts restarts it at 60.
  g.timing.GameMinutes = 17;
  g.timing.GameSeconds = 59;
  g.timing.WaveCountdown = 20;
  GameClock(g);  // 18:00
  EXPECT_EQ(g.timing.WaveLeft, 35);
  EXPECT_EQ(g.timing.WaveCountdown, 59);
}

TEST_F(GameClockTest, AlarmSoundsOnceEvenWhenPausedAtThatSecond) {
  plat.SetTickCount(5000);
  g.timing.GameMinutes = 5;
  g.timing.GameSeconds = 56;
  plat.AdvanceMs(1000);
  GameTick(g);  // 5:57
  g.form.Paused = kTrue;
  for (int i = 0; i < 5; ++i) {
    plat.AdvanceMs(1000);
    GameTick(g);
  }
  EXPECT_EQ(Plays(snd::Alarm), 1);
  EXPECT_EQ(g.timing.GameSeconds, 57);
}

TEST_F(GameClockTest, SustainedFireLevelsUpTheRateOfFire) {
  Soldier& p = g.world.Soldiers[0];
  g.input.MouseLeft = kTrue;
  p.Ammo = 50;
  p.TimeExp = 95;
  GameClock(g);  // streak 1: +0.2 rounds to 95
  EXPECT_EQ(p.TimeExp, 95);
  GameClock(g);
  GameClock(g);  // streak 3: 95 + 0.6 -> 96
  EXPECT_EQ(g.timing.FireStreak, 3);
  for (int i = 0; i < 6 && p.RechargeTime == 10; ++i) GameClock(g);
  EXPECT_EQ(p.RechargeTime, 9);
  EXPECT_EQ(p.TimeExp, 0);
  EXPECT_EQ(g.timing.FireStreak, 0);
  EXPECT_EQ(Plays(snd::LevelUp), 1);
  // Without ammunition the streak breaks.
  p.Ammo = 0;
  GameClock(g);
  EXPECT_EQ(g.timing.FireStreak, 0);
}

TEST_F(GameClockTest, AcidFreezesTheFireStreakAndTheLevelUp) {
  Soldier& p = g.world.Soldiers[0];
  g.input.MouseLeft = kTrue;
  p.Ammo = 50;
  p.TimeExp = 100;
  g.timing.FireStreak = 7;
  g.world.AcidTimer[2] = 40;
  GameClock(g);
  EXPECT_EQ(g.timing.FireStreak, 7);
  EXPECT_EQ(p.RechargeTime, 10);
  EXPECT_EQ(Plays(snd::LevelUp), 0);
}

TEST_F(GameClockTest, HealthDriftsTowardTheCeiling) {
  Soldier& p = g.world.Soldiers[0];  // ceiling 120
  p.Health = 100;
  GameClock(g);
  EXPECT_FLOAT_EQ(p.Health, 101);
  p.Health = 130;
  GameClock(g);
  EXPECT_FLOAT_EQ(p.Health, 128);
  p.Health = 300;  // far above: sinks fast
  GameClock(g);
  EXPECT_FLOAT_EQ(p.Health, 292);
}

}  // namespace
}  // namespace vorlan
