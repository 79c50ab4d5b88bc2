#include "shell/frame_cycle.h"

#include <gtest/gtest.h>

#include <tuple>

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
  EXPECT_EQ(std::tuple(plat.GetTickCount(), g.timing.IdleSpins, g.timing.NextFrameTick),
            std::tuple(5076u, 0, 5106u));
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
  EXPECT_EQ(std::tuple(p.RechargeTime, p.TimeExp, g.timing.FireStreak), std::tuple(9, 0, 0));
  EXPECT_EQ(AudioCount(plat, snd::LevelUp), 1);

  p.TimeExp = 100, g.timing.FireStreak = 7, g.world.AcidTimer[2] = 40;
  Seconds(1);
  EXPECT_EQ(std::tuple(g.timing.FireStreak, p.RechargeTime), std::tuple(7, 9));
}

// One frame in which every step makes a sound: the sounds come in the order of the steps.
TEST_F(FrameCycleTest, AFrameRunsItsStepsInOrderAndAPausedFrameRunsNone) {
  auto& w = g.world;
  g.form.Field.Resize(300, 300);
  g.form.Terain.Resize(320, 320);
  g.form.InGame = kTrue;
  g.timing.GameMinutes = 2, g.timing.GameSeconds = 56;  // the wave alarm is one second away
  plat.SetCursorField(100, 100);
  PlaceSoldier(g, 0, 140, 140, 100, 60, 10);
  Bullet& spent = w.Bullets[5];  // falls in the bullet step
  spent.BulletRange = 1, spent.BulletSpeed = 3, spent.BulletX = 20, spent.BulletY = 280,
  spent.BulletOwner = 1;
  SheepRec& sheep = w.Sheep[0];  // bleats in the sheep step
  sheep.SheepAlive = kTrue, sheep.SheepX = 200, sheep.SheepY = 40, sheep.SheepSpeed = 3,
  sheep.SheepHealth = 100;
  sheep.SheepKind = 2, sheep.SheepBleatLeft = 1, sheep.SheepBleatEvery = 300;
  PlaceSoldier(g, 1, 140, 180, 50, 60, 15, 5);              // shoots in the soldier step
  w.AcidOn[0] = kTrue, w.AcidX[0] = 147, w.AcidY[0] = 147;  // taken in the acid step
  w.AirRaidOn = kTrue, w.AirRaidKind = 3, w.PlaneX = 290;   // bombs in the air-raid step
  w.BombTargetX = 200, w.BombTargetY = 10;
  w.KillsInRowCount = 5, w.KillsInRowTime = 0;  // pays out in the kills-in-a-row step
  auto plays = [&] {
    std::vector<int> out;
    for (const auto& c : plat.audioCalls)
      if (c.op == HeadlessPlatform::AudioCall::Op::Play) out.push_back(c.index);
    return out;
  };

  g.form.Paused = kTrue;
  GameFrame(g);
  EXPECT_EQ(plays(), std::vector<int>{});
  EXPECT_EQ(spent.BulletRange, 1);

  g.form.Paused = kFalse;
  GameFrame(g);
  EXPECT_EQ(plays(),
            (std::vector<int>{snd::BulletFireMiss, snd::Sheep2, snd::BulletFire, snd::Health, snd::AcidPickUp,
                              snd::AcidGood2, snd::Heart, snd::Bomb, snd::InRow1, snd::Alarm}));
}

}  // namespace
}  // namespace vorlan::testing
