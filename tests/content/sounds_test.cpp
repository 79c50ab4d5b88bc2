// The generated sound bank: the format the mixer expects, sensible lengths and levels, a quiet
// start that random start offsets cannot cut, no click at the end, and seamless loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/test_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0, align = 0, byteRate = 0;
  std::vector<int16_t> left, right;
  std::string data;
};

uint32_t U32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

bool ReadWav(const fs::path& file, Wav& w) {
  std::ifstream f(file, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
  for (size_t at = 12; at + 8 <= b.size();) {
    std::string id = b.substr(at, 4);
    size_t len = U32(b, at + 4);
    if (at + 8 + len > b.size()) return false;
    if (id == "fmt ") {
      w.format = U16(b, at + 8);
      w.channels = U16(b, at + 10);
      w.rate = static_cast<int>(U32(b, at + 12));
      w.byteRate = static_cast<int>(U32(b, at + 16));
      w.align = U16(b, at + 20);
      w.bits = U16(b, at + 22);
    } else if (id == "data") {
      w.data = b.substr(at + 8, len);
      for (size_t i = 0; i + 3 < len; i += 4) {
        w.left.push_back(static_cast<int16_t>(U16(b, at + 8 + i)));
        w.right.push_back(static_cast<int16_t>(U16(b, at + 10 + i)));
      }
    }
    at += 8 + len + (len & 1);
  }
  return !w.data.empty();
}

struct Expect {
  const char* file;
  double minSecs, maxSecs;
  bool loop;
};
const Expect kSounds[] = {
    {"BulletFire.wav", 0.1, 1.0, false}, {"BulletFireMiss.wav", 0.1, 1.0, false}, {"Blood.wav", 0.1, 1.0, false},
    {"Health.wav", 0.2, 1.5, false}, {"Ammo.wav", 0.2, 1.5, false}, {"Fight.wav", 0.2, 1.5, false},
    {"LevelUp.wav", 0.5, 3.0, false}, {"Damage1.wav", 0.2, 1.5, false}, {"Damage2.wav", 0.2, 1.5, false},
    {"Damage3.wav", 0.2, 1.5, false}, {"Damage4.wav", 0.2, 1.5, false}, {"Damage5.wav", 0.2, 1.5, false},
    {"Damage6.wav", 0.2, 1.5, false}, {"Buger.wav", 3.0, 10.0, false}, {"AirPlane.wav", 1.0, 5.0, false},
    {"Bomb.wav", 1.0, 4.0, false}, {"SnowBattle.wav", 4.0, 20.0, true}, {"MouseOver.wav", 0.03, 0.3, false},
    {"MenuClick.wav", 0.05, 0.5, false}, {"MenuAmbient.wav", 4.0, 20.0, true}, {"Photo.wav", 0.2, 1.0, false},
    {"AcidPickUp.wav", 0.2, 1.5, false}, {"AcidBad1.wav", 0.5, 2.5, false}, {"AcidBad2.wav", 0.5, 2.5, false},
    {"AcidGood1.wav", 0.5, 2.5, false}, {"AcidGood2.wav", 0.5, 2.5, false}, {"HighScore1.wav", 0.8, 4.0, false},
    {"HighScore2.wav", 0.8, 4.0, false}, {"HighScore3.wav", 0.8, 4.0, false}, {"Heart.wav", 1.5, 8.0, true},
    {"Alarm.wav", 0.5, 3.0, false}, {"BugerHit.wav", 0.2, 1.5, false}, {"Sheep1.wav", 0.3, 1.5, false},
    {"Sheep2.wav", 0.3, 1.5, false}, {"Sheep3.wav", 0.3, 1.5, false}, {"InRow1.wav", 0.5, 3.0, false},
    {"InRow2.wav", 0.5, 3.0, false}, {"InRow3.wav", 0.5, 3.0, false}, {"InRow4.wav", 0.5, 3.0, false},
    {"ScoreMusic.wav", 2.0, 10.0, false},
};

// The loudest sample among the first frames.
int Peak(const Wav& w, size_t frames) {
  int p = 0;
  for (size_t i = 0; i < frames && i < w.left.size(); ++i)
    p = std::max({p, std::abs(int(w.left[i])), std::abs(int(w.right[i]))});
  return p;
}

TEST(ContentSounds, EverySoundIsStereo16BitPcmStartingQuietlyAndEndingWithoutAClick) {
  std::set<std::string> seen;
  for (const Expect& e : kSounds) {
    SCOPED_TRACE(e.file);
    Wav w;
    ASSERT_TRUE(ReadWav(testing::BuiltProgramDir() / "Sounds" / e.file, w));
    EXPECT_EQ(std::vector<int>({w.format, w.channels, w.rate, w.bits, w.align, w.byteRate}),
              std::vector<int>({1, 2, 22050, 16, 4, 22050 * 4}));
    double secs = w.left.size() / 22050.0;
    EXPECT_GE(secs, e.minSecs);
    EXPECT_LE(secs, e.maxSecs);
    // One common loudness: every file peaks just under full scale.
    int peak = Peak(w, w.left.size());
    EXPECT_GE(peak, 26000);
    EXPECT_LE(peak, 30000);
    EXPECT_TRUE(seen.insert(w.data).second) << "the same sound twice";
    if (e.loop) continue;
    // Playback may start up to 506 bytes in (126 frames): nothing audible may lie there.
    EXPECT_LE(Peak(w, 127), 100);
    EXPECT_LE(std::abs(int(w.left.back())), 100);
    EXPECT_LE(std::abs(int(w.right.back())), 100);
  }
}

TEST(ContentSounds, LoopsJoinEndToStartWithoutASeam) {
  for (const char* file : {"SnowBattle.wav", "MenuAmbient.wav", "Heart.wav"}) {
    SCOPED_TRACE(file);
    Wav w;
    ASSERT_TRUE(ReadWav(testing::BuiltProgramDir() / "Sounds" / file, w));
    for (const std::vector<int16_t>* ch : {&w.left, &w.right}) {
      std::vector<int> steps;
      for (size_t i = 1; i < ch->size(); ++i) steps.push_back(std::abs((*ch)[i] - (*ch)[i - 1]));
      std::sort(steps.begin(), steps.end());
      int typical = steps[steps.size() * 99 / 100];
      int seam = std::abs(ch->front() - ch->back());
      EXPECT_LE(seam, std::max(typical, 200)) << "the loop jumps where it wraps";
    }
  }
}

}  // namespace
}  // namespace vorlan
