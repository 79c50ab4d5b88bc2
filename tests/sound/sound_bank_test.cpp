#include "sound/sound_bank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "numbers.h"
#include "platform/headless_platform.h"

namespace vorlan {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

std::string U32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string U16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id + U32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() & 1) c += '\0';
  return c;
}
std::string Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  return Chunk("fmt ", U16(tag) + U16(channels) + U32(rate) + U32(rate * channels * bits / 8) +
                           U16(channels * bits / 8) + U16(bits));
}
std::string Riff(const std::string& chunks) { return "RIFF" + U32(4 + chunks.size()) + "WAVE" + chunks; }

TEST(ParseWav, ReadsPcmAndSkipsOddSizedChunks) {
  std::string data = U16(1000) + U16(static_cast<uint16_t>(-1000)) + U16(7) + U16(8);
  auto pcm = ParseWav(Riff(Fmt(1, 2, 22050, 16) + Chunk("LIST", "abc") + Chunk("data", data)));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->sampleRate, 22050);
  EXPECT_EQ(pcm->channels, 2);
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{1000, -1000, 7, 8}));
}

TEST(ParseWav, WidensEightBitMonoAndKeepsATruncatedDataChunk) {
  std::string file = Riff(Fmt(1, 1, 11025, 8) + "data" + U32(1000) + std::string("\x80\xff\x00", 3));
  auto pcm = ParseWav(file);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->channels, 1);
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{0, 127 << 8, -128 << 8}));
}

TEST(ParseWav, RejectsWhatIsNotPlainPcm) {
  EXPECT_FALSE(ParseWav(""));
  EXPECT_FALSE(ParseWav("RIFF\x10\0\0\0WAVE"));
  EXPECT_FALSE(ParseWav(std::string(5000, '\xAB')));
  EXPECT_FALSE(ParseWav(Riff(Fmt(2, 2, 22050, 16) + Chunk("data", "abcd"))));  // ADPCM
  EXPECT_FALSE(ParseWav(Riff(Fmt(1, 6, 22050, 16) + Chunk("data", "abcd"))));  // 6 channels
  EXPECT_FALSE(ParseWav(Riff(Fmt(1, 2, 0, 16) + Chunk("data", "abcd"))));      // no rate
  EXPECT_FALSE(ParseWav(Riff(Chunk("data", "abcd") + Fmt(1, 2, 22050, 16))));  // data before fmt
  // A chunk size running past the end of the file.
  EXPECT_FALSE(ParseWav(Riff(Fmt(1, 2, 22050, 16) + "junk" + U32(0xFFFFFFF0u) + "xx")));
}

class PlaySoundTest : public ::testing::Test {
 protected:
  void SetUp() override { g.options.SoundVolume = 100; }
  // The calls made on one buffer since the last Clear.
  std::vector<HeadlessPlatform::AudioCall> Calls(int index) {
    std::vector<HeadlessPlatform::AudioCall> out;
    for (auto& c : plat.audioCalls)
      if (c.index == index) out.push_back(c);
    return out;
  }
  long Value(int index, Op op) {
    for (auto& c : Calls(index))
      if (c.op == op) return c.value;
    ADD_FAILURE() << "no such call";
    return 0;
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(PlaySoundTest, PanFollowsThePositionAcrossTheField) {
  PlaySound(g, snd::Fight, 0);
  EXPECT_EQ(Value(snd::Fight, Op::Pan), -1000);
  plat.audioCalls.clear();
  PlaySound(g, snd::Fight, 350);
  EXPECT_EQ(Value(snd::Fight, Op::Pan), 0);
  plat.audioCalls.clear();
  PlaySound(g, snd::Fight, 500);
  EXPECT_EQ(Value(snd::Fight, Op::Pan), 429);
  plat.audioCalls.clear();
  PlaySound(g, snd::Fight, 1000);
  EXPECT_EQ(Value(snd::Fight, Op::Pan), 1857);
}

TEST_F(PlaySoundTest, MonoPlaysEverySoundAtTheCentrePan) {
  g.options.OptMono = 8;
  PlaySound(g, snd::BulletFire, 0);
  PlaySound(g, snd::SnowBattle, 1000);
  EXPECT_EQ(Value(snd::BulletFire, Op::Pan), 429);
  EXPECT_EQ(Value(snd::SnowBattle, Op::Pan), 429);
}

TEST_F(PlaySoundTest, VolumeIsBaseLessThirtyTwoPerPercent) {
  PlaySound(g, snd::BulletFireMiss, 500);
  EXPECT_EQ(Value(snd::BulletFireMiss, Op::Volume), -1100);
  plat.audioCalls.clear();
  g.options.SoundVolume = 84;
  PlaySound(g, snd::Heart, 500);
  EXPECT_EQ(Value(snd::Heart, Op::Volume), -12);
  plat.audioCalls.clear();
  g.options.SoundVolume = 0;  // not muted: the strongest attenuation
  PlaySound(g, snd::Sheep1, 500);
  EXPECT_EQ(Value(snd::Sheep1, Op::Volume), -900 - 3200);
}

TEST_F(PlaySoundTest, PositiveVolumeAtFullVolumeIsRefusedByTheBuffer) {
  PlaySound(g, snd::Heart, 500);  // base 500 at 100 %
  bool sawVolume = false;
  for (auto& c : Calls(snd::Heart))
    if (c.op == Op::Volume) {
      sawVolume = true;
      EXPECT_EQ(c.value, 500);
      EXPECT_FALSE(c.accepted);
    }
  EXPECT_TRUE(sawVolume);
  EXPECT_TRUE(plat.Buffer(snd::Heart).playing || !plat.Buffer(snd::Heart).exists);
}

TEST_F(PlaySoundTest, StartOffsetsAndLoops) {
  PlaySound(g, snd::SnowBattle, 500);
  EXPECT_EQ(Value(snd::SnowBattle, Op::Position), 506);
  EXPECT_EQ(Value(snd::SnowBattle, Op::Play), 1);
  PlaySound(g, snd::AirPlane, 500);
  EXPECT_EQ(Value(snd::AirPlane, Op::Position), 502);
  EXPECT_EQ(Value(snd::AirPlane, Op::Play), 0);
  // R: a fresh offset 0..500 on every call.
  std::set<long> offsets;
  for (int i = 0; i < 20; ++i) {
    plat.audioCalls.clear();
    PlaySound(g, snd::BulletFire, 500);
    long off = Value(snd::BulletFire, Op::Position);
    EXPECT_GE(off, 0);
    EXPECT_LE(off, 500);
    offsets.insert(off);
  }
  EXPECT_GT(offsets.size(), 5u);
}

TEST_F(PlaySoundTest, IndicesWithoutASoundAndMutedPlayNothing) {
  for (int index : {0, 10, 17, 20, 30, 47, -5, 1000}) PlaySound(g, index, 500);
  EXPECT_TRUE(plat.audioCalls.empty());
  g.options.SoundMuted = 8;
  PlaySound(g, snd::BulletFire, 500);
  EXPECT_TRUE(plat.audioCalls.empty());
}

TEST_F(PlaySoundTest, AmbienceControlUsesItsOwnBases) {
  g.options.SoundVolume = 90;
  MenuAmbienceOn(g);
  GameAmbienceOn(g);
  EXPECT_EQ(Value(snd::MenuAmbient, Op::Volume), -1 - 320);
  EXPECT_EQ(Value(snd::SnowBattle, Op::Volume), -100 - 320);
  EXPECT_EQ(Value(snd::MenuAmbient, Op::Play), 1);
  // Resuming the menu loop keeps its position: no position call.
  for (auto& c : Calls(snd::MenuAmbient)) EXPECT_NE(c.op, Op::Position);
}

TEST(LoadSounds, LoadsTheFilesThatAreThereAndSkipsTheRest) {
  HeadlessPlatform plat;
  std::filesystem::create_directories(plat.ProgramDir() / "Sounds");
  std::string wav = Riff(Fmt(1, 2, 22050, 16) + Chunk("data", std::string(400, '\0')));
  std::ofstream(plat.ProgramDir() / "Sounds" / "BulletFire.wav", std::ios::binary) << wav;
  std::ofstream(plat.ProgramDir() / "Sounds" / "heart.WAV", std::ios::binary) << wav;  // any case
  std::ofstream(plat.ProgramDir() / "Sounds" / "Alarm.wav", std::ios::binary) << "not a sound";
  Game g(plat);
  LoadSounds(g);
  EXPECT_TRUE(g.sound.Loaded[snd::BulletFire]);
  EXPECT_TRUE(g.sound.Loaded[snd::Heart]);
  EXPECT_FALSE(g.sound.Loaded[snd::Alarm]);
  EXPECT_FALSE(g.sound.Loaded[snd::Photo]);
  EXPECT_EQ(g.form.LoadingStep, 40);  // one progress step per catalogue row
  ReleaseSounds(g);
  EXPECT_FALSE(g.sound.Loaded[snd::BulletFire]);
}

}  // namespace
}  // namespace vorlan

namespace vorlan {
namespace {

// The mixed output of one sound played through the bank, as left and right RMS levels.
struct Levels {
  double left = 0, right = 0;
};

class PlaySoundMixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(plat.ProgramDir() / "Sounds");
    // One second of a steady 441 Hz tone at half scale in both channels.
    std::string data;
    for (int i = 0; i < 22050; ++i) {
      int16_t v = static_cast<int16_t>(16384 * std::sin(2 * 3.14159265358979 * 441 * i / 22050.0));
      data += U16(static_cast<uint16_t>(v)) + U16(static_cast<uint16_t>(v));
    }
    std::ofstream(plat.ProgramDir() / "Sounds" / "Fight.wav", std::ios::binary)
        << Riff(Fmt(1, 2, 22050, 16) + Chunk("data", data));
    LoadSounds(g);
    ASSERT_TRUE(g.sound.Loaded[snd::Fight]);
  }
  Levels PlayAndMeasure(double position) {
    PlaySound(g, snd::Fight, position);
    std::vector<int16_t> mix = plat.MixFrames(4410);
    double l = 0, r = 0;
    for (size_t i = 0; i + 1 < mix.size(); i += 2) {
      l += double(mix[i]) * mix[i];
      r += double(mix[i + 1]) * mix[i + 1];
    }
    StopSound(g, snd::Fight);
    return {std::sqrt(l / 4410), std::sqrt(r / 4410)};
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(PlaySoundMixTest, EachPercentBelowFullVolumeTakesAThirdOfADecibel) {
  g.options.SoundVolume = 100;
  Levels full = PlayAndMeasure(350);  // pan 0
  g.options.SoundVolume = 50;
  Levels half = PlayAndMeasure(350);
  ASSERT_GT(full.left, 1000);
  // Base -1 and 50 x 32: 16 dB down.
  EXPECT_NEAR(20 * std::log10(half.left / full.left), -16.0, 0.3);
  EXPECT_NEAR(20 * std::log10(half.right / full.right), -16.0, 0.3);
}

TEST_F(PlaySoundMixTest, TheLeftEdgeOfTheFieldSoundsTenDecibelsWeakerOnTheRight) {
  g.options.SoundVolume = 100;
  Levels edge = PlayAndMeasure(0);  // pan -1000
  EXPECT_NEAR(20 * std::log10(edge.right / edge.left), -10.0, 0.3);
  g.options.OptMono = 8;
  Levels mono = PlayAndMeasure(0);  // pan 429 whatever the place
  EXPECT_NEAR(20 * std::log10(mono.left / mono.right), -4.29, 0.3);
}

}  // namespace
}  // namespace vorlan
