#include "sound/sound_bank.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "platform/headless/headless_platform.h"
#include "support/battlefield.h"

namespace vorlan {
namespace {

using Op = HeadlessPlatform::AudioCall::Op;

std::string U32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string U16(uint16_t v) { return {char(v), char(v >> 8)}; }
std::string Chunk(const std::string& id, const std::string& body) {
  return id + U32(uint32_t(body.size())) + body + (body.size() & 1 ? std::string(1, '\0') : "");
}
std::string Fmt(uint16_t tag, uint16_t ch, uint32_t rate, uint16_t bits) {
  return Chunk("fmt ",
               U16(tag) + U16(ch) + U32(rate) + U32(rate * ch * bits / 8) + U16(ch * bits / 8) + U16(bits));
}
std::string Riff(const std::string& chunks) { return "RIFF" + U32(4 + chunks.size()) + "WAVE" + chunks; }

TEST(ParseWav, ReadsPcmPastOddChunksKeepsATruncatedFileAndRejectsTheRest) {
  auto pcm = ParseWav(
      Riff(Fmt(1, 2, 22050, 16) + Chunk("LIST", "abc") + Chunk("data", U16(1000) + U16(uint16_t(-1000)))));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->channels, 2);
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{1000, -1000}));
  pcm = ParseWav(Riff(Fmt(1, 1, 11025, 8) + "data" + U32(1000) + std::string("\x80\xff\x00", 3)));
  ASSERT_TRUE(pcm);  // 8-bit samples widen around 128
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{0, 127 << 8, -128 << 8}));
  for (const std::string& bad :
       {std::string(), std::string(5000, '\xAB'), Riff(Fmt(2, 2, 22050, 16) + Chunk("data", "abcd")),
        Riff(Fmt(1, 6, 22050, 16) + Chunk("data", "abcd")),
        Riff(Chunk("data", "abcd") + Fmt(1, 2, 22050, 16)),
        Riff(Fmt(1, 2, 22050, 16) + "junk" + U32(0xFFFFFFF0u) + "xx")})
    EXPECT_FALSE(ParseWav(bad)) << bad.substr(0, 40);
}

class PlaySoundTest : public ::testing::Test {
 protected:
  void SetUp() override { g.options.SoundVolume = 100; }
  HeadlessPlatform::AudioCall Last(int index, Op op) { return testing::LastAudio(plat, index, op); }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(PlaySoundTest, PanFollowsThePlaceAndMonoCentresEverySound) {
  for (auto [position, pan] : {std::pair{0.0, -1000L}, {350.0, 0L}, {500.0, 429L}, {1000.0, 1857L}}) {
    PlaySound(g, snd::Fight, position);
    EXPECT_EQ(Last(snd::Fight, Op::Pan).value, pan) << position;
  }
  g.options.OptMono = 8;
  PlaySound(g, snd::SnowBattle, 0);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Pan).value, 429);
}

TEST_F(PlaySoundTest, VolumeIsBaseLessThirtyTwoPerPercentAndAboveZeroIsRefused) {
  PlaySound(g, snd::Heart, 500);  // base 500 at full volume
  EXPECT_FALSE(Last(snd::Heart, Op::Volume).accepted);
  for (auto [volume, index, want] : {std::tuple{84, snd::Heart, -12}, {0, snd::Sheep1, -900 - 3200}}) {
    g.options.SoundVolume = volume;  // 0 is not muted: the strongest attenuation
    PlaySound(g, index, 500);
    EXPECT_EQ(Last(index, Op::Volume).value, want) << volume;
  }
}

TEST_F(PlaySoundTest, StartOffsetsLoopsAndSilentIndices) {
  PlaySound(g, snd::SnowBattle, 500);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Position).value, 506);
  EXPECT_EQ(Last(snd::SnowBattle, Op::Play).value, 1);
  std::set<long> offsets;  // drawn afresh each time, 0..500
  for (int i = 0; i < 20; ++i) {
    PlaySound(g, snd::BulletFire, 500);
    offsets.insert(Last(snd::BulletFire, Op::Position).value);
    EXPECT_EQ(Last(snd::BulletFire, Op::Play).value, 0);
  }
  EXPECT_GT(offsets.size(), 5u);
  EXPECT_GE(*offsets.begin(), 0);
  EXPECT_LE(*offsets.rbegin(), 500);

  plat.audioCalls.clear();
  for (int index : {0, 10, 17, 20, 30, 47, -5}) PlaySound(g, index, 500);
  g.options.SoundMuted = 8;
  PlaySound(g, snd::BulletFire, 500);
  EXPECT_TRUE(plat.audioCalls.empty());
}

TEST(LoadSounds, LoadsTheFilesThatAreSoundsWhateverTheirCase) {
  HeadlessPlatform plat;
  std::filesystem::create_directories(plat.ProgramDir() / "Sounds");
  std::ofstream(plat.ProgramDir() / "Sounds" / "fight.WAV", std::ios::binary)
      << Riff(Fmt(1, 2, 22050, 16) + Chunk("data", std::string(400, '\0')));
  std::ofstream(plat.ProgramDir() / "Sounds" / "Alarm.wav", std::ios::binary) << "not a sound";
  Game g(plat);
  LoadSounds(g);
  EXPECT_TRUE(g.sound.Loaded[snd::Fight]);
  EXPECT_FALSE(g.sound.Loaded[snd::Alarm] || g.sound.Loaded[snd::Photo]);
  EXPECT_EQ(g.form.LoadingStep, 40);  // a progress step per row
}

}  // namespace
}  // namespace vorlan
