#include "platform/headless_platform.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

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

TEST(HeadlessPlatform, TemporaryFoldersExistAndAreRemoved) {
  std::filesystem::path program, data;
  {
    HeadlessPlatform p;
    program = p.ProgramFolder();
    data = p.DataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(program));
    EXPECT_TRUE(std::filesystem::is_directory(data));
    EXPECT_NE(program, data);
  }
  EXPECT_FALSE(std::filesystem::exists(program));
  EXPECT_FALSE(std::filesystem::exists(data));
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

TEST(HeadlessPlatform, AudioCallsAreRecordedWithTheMixersVerdict) {
  HeadlessPlatform p;
  ASSERT_TRUE(p.CreateSoundBuffer(7, testing::ConstantPcm(100, 1000, 1000)));
  EXPECT_TRUE(p.SetSoundVolume(7, -300));
  EXPECT_FALSE(p.SetSoundVolume(7, 200));  // above 0: refused
  EXPECT_FALSE(p.PlaySoundBuffer(8, false));
  ASSERT_EQ(p.audioCalls.size(), 4u);
  EXPECT_EQ(p.audioCalls[2].op, HeadlessPlatform::AudioCall::Op::Volume);
  EXPECT_EQ(p.audioCalls[2].value, 200);
  EXPECT_FALSE(p.audioCalls[2].accepted);
  EXPECT_EQ(p.Buffer(7).volume, -300);
  EXPECT_EQ(p.Buffer(7).data.samples.size(), 200u);
  EXPECT_TRUE(p.PlaySoundBuffer(7, false));
  EXPECT_TRUE(p.SoundPlaying(7));
  auto out = p.MixFrames(150);
  EXPECT_NEAR(out[0], 708, 1);  // 1000 x 10^(-300/2000)
  EXPECT_EQ(out[2 * 120], 0);
  EXPECT_FALSE(p.SoundPlaying(7));
  EXPECT_EQ(p.Buffer(7).position, 0u);
  p.ReleaseSoundBuffer(7);
  EXPECT_FALSE(p.Buffer(7).exists);
  EXPECT_FALSE(p.Buffer(99).exists);
}

TEST(HeadlessPlatform, ScriptedEventsAndGamePaths) {
  testing::TestGame t;
  Event e;
  e.type = Event::Type::MouseDown;
  e.button = 1;
  t.plat.PushEvent(e);
  Event got;
  ASSERT_TRUE(t.plat.PollEvent(got));
  EXPECT_EQ(got.button, 1);
  EXPECT_FALSE(t.plat.PollEvent(got));
  // The game's documented paths land in the platform's folders.
  EXPECT_EQ(t.g.PathOf("\\OtherFiles\\Options.txt"), t.plat.ProgramDir() / "OtherFiles" / "Options.txt");
  EXPECT_EQ(t.g.PathOf("c:\\Windows\\AtopVo118.vor"), t.plat.DataDir() / "AtopVo118.vor");
  EXPECT_EQ(t.g.PathOf("\\..\\x"), std::filesystem::path());
}

}  // namespace
}  // namespace vorlan
