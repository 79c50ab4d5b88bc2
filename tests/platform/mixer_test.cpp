#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/test_game.h"

namespace vorlan {
namespace {

using testing::ConstantPcm;
using testing::RampPcm;

std::vector<int16_t> Mix(Mixer& m, size_t frames, int rate = 22050) {
  std::vector<int16_t> out(frames * 2);
  m.Mix(out.data(), frames, rate);
  return out;
}

TEST(Mixer, VolumeIsHundredthsOfADecibelOnRealSamples) {
  Mixer m;
  ASSERT_TRUE(m.Create(0, ConstantPcm(100, 10000, -10000)));
  ASSERT_TRUE(m.Play(0, true));
  struct Case {
    int volume;
    int expected;  // 10000 x 10^(volume / 2000)
  } cases[] = {{0, 10000}, {-600, 5012}, {-2000, 1000}, {-3200, 251}, {-10000, 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(m.SetVolume(0, c.volume));
    auto out = Mix(m, 10);
    EXPECT_NEAR(out[0], c.expected, 1) << c.volume;
    EXPECT_NEAR(out[1], -c.expected, 1) << c.volume;
  }
  // Above zero or below silence is refused and the old volume stays.
  ASSERT_TRUE(m.SetVolume(0, -2000));
  for (int bad : {1, 500, -10001}) EXPECT_FALSE(m.SetVolume(0, bad)) << bad;
  EXPECT_EQ(m.State(0).volume, -2000);
  // Buffers that do not exist or cannot be played refuse every call.
  EXPECT_FALSE(m.SetVolume(4, -100));
  EXPECT_FALSE(m.Create(64, ConstantPcm(10, 0, 0)));
  EXPECT_FALSE(m.Create(5, PcmData{22050, 3, {1, 2, 3}}));
}

TEST(Mixer, PanAttenuatesTheOppositeChannelByAsManyHundredthsOfADecibel) {
  Mixer m;
  m.Create(1, ConstantPcm(100, 8000, 8000));
  m.SetVolume(1, -600);
  m.Play(1, true);
  struct Case {
    int pan, left, right;  // 8000 x 10^(-600/2000) on the near side, that many dB lower on the far
  } cases[] = {{0, 4010, 4010}, {-2000, 4010, 401}, {2000, 401, 4010}, {-10000, 4010, 0}, {-400, 4010, 2530}};
  for (const Case& c : cases) {
    ASSERT_TRUE(m.SetPan(1, c.pan));
    auto out = Mix(m, 4);
    EXPECT_NEAR(out[2], c.left, 2) << c.pan;
    EXPECT_NEAR(out[3], c.right, 2) << c.pan;
  }
  EXPECT_FALSE(m.SetPan(1, 10001) || m.SetPan(1, -10001));
  EXPECT_EQ(m.State(1).pan, -400);
}

TEST(Mixer, ReplayKeepsOneVoiceStopKeepsThePositionAndPositionsAlignToFrames) {
  Mixer m;
  m.Create(0, RampPcm(1000));
  m.Play(0, false);
  Mix(m, 250);
  m.Play(0, false);  // no second voice, no restart
  EXPECT_EQ(Mix(m, 1)[0], 250);
  m.Stop(0);
  EXPECT_FALSE(m.Playing(0));
  EXPECT_EQ(m.State(0).PositionBytes(), 1004u);
  EXPECT_EQ(Mix(m, 10)[0], 0);
  m.Play(0, false);
  EXPECT_EQ(Mix(m, 1)[0], 251);
  EXPECT_TRUE(m.SetPosition(0, 403));  // inside frame 100
  EXPECT_EQ(m.State(0).PositionBytes(), 400u);
  EXPECT_EQ(Mix(m, 1)[0], 100);
  EXPECT_FALSE(m.SetPosition(0, 4000));  // the end itself is past the last frame
  EXPECT_FALSE(m.SetPosition(0, 0xFFFFFFFFu));
  EXPECT_EQ(m.State(0).PositionBytes(), 404u);
}

TEST(Mixer, LoopingWrapsWithoutAGapAndAOncePlayedBufferStopsAtZero) {
  Mixer m;
  m.Create(0, RampPcm(100));
  m.Play(0, true);
  auto out = Mix(m, 250);
  for (size_t i = 0; i < 250; ++i) ASSERT_EQ(out[2 * i], static_cast<int16_t>(i % 100)) << i;
  EXPECT_TRUE(m.Playing(0));
  EXPECT_EQ(m.State(0).PositionBytes(), 50u * 4);

  m.Create(1, RampPcm(100));
  m.Stop(0);
  m.Play(1, false);
  out = Mix(m, 150);
  EXPECT_EQ(out[2 * 99], 99);
  EXPECT_EQ(out[2 * 100], 0);  // silence after the end
  EXPECT_FALSE(m.Playing(1));
  EXPECT_EQ(m.State(1).PositionBytes(), 0u);
  // Played again, it starts from the beginning.
  m.Play(1, false);
  EXPECT_EQ(Mix(m, 2)[2], 1);
}

TEST(Mixer, VoicesAddUpAndTheSumIsClipped) {
  Mixer m;
  m.Create(0, ConstantPcm(10, 20000, -20000));
  m.Create(1, ConstantPcm(10, 20000, -20000));
  m.Create(2, ConstantPcm(10, -5000, 5000));
  m.Play(0, true);
  m.Play(2, true);
  EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{15000, -15000}));
  m.Play(1, true);
  EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{32767, -32768}));
}

TEST(Mixer, OtherDeviceRatesAreResampledAndMonoPlaysOnBothSides) {
  Mixer m;
  m.Create(0, RampPcm(1000));
  m.Play(0, false);
  // Twice as many frames: halfway values in between, 0.5 and 1.5 rounding to even.
  EXPECT_EQ(Mix(m, 4, 44100), (std::vector<int16_t>{0, 0, 0, 0, 1, -1, 2, -2}));
  EXPECT_EQ(m.State(0).PositionBytes(), 2u * 4);
  m.Stop(0);

  PcmData mono{22050, 1, std::vector<int16_t>(50, 1234)};
  m.Create(5, mono);
  m.Play(5, false);
  EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{1234, 1234}));
  EXPECT_EQ(m.State(5).FrameBytes(), 2u);
}

}  // namespace
}  // namespace vorlan
