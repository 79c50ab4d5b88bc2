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

#include "sound/sound_bank.h"
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

// The loudest sample among the first frames.
int Peak(const Wav& w, size_t frames) {
  int p = 0;
  for (size_t i = 0; i < frames && i < w.left.size(); ++i)
    p = std::max({p, std::abs(int(w.left[i])), std::abs(int(w.right[i]))});
  return p;
}

TEST(ContentSounds, EverySoundIsStereo16BitPcmStartingQuietlyAndEndingWithoutAClick) {
  std::set<std::string> seen;
  for (const SoundRow& row : SoundCatalogue()) {
    SCOPED_TRACE(row.file);
    Wav w;
    ASSERT_TRUE(ReadWav(testing::BuiltProgramDir() / "Sounds" / row.file, w));
    EXPECT_EQ(std::vector<int>({w.format, w.channels, w.rate, w.bits, w.align, w.byteRate}),
              std::vector<int>({1, 2, 22050, 16, 4, 22050 * 4}));
    // From a menu blip to an ambience loop; a loop long enough not to be heard repeating.
    double secs = w.left.size() / 22050.0;
    EXPECT_GE(secs, row.loop ? 1.5 : 0.03);
    EXPECT_LE(secs, 20.0);
    // One common loudness: every file peaks just under full scale.
    int peak = Peak(w, w.left.size());
    EXPECT_GE(peak, 26000);
    EXPECT_LE(peak, 30000);
    EXPECT_TRUE(seen.insert(w.data).second) << "the same sound twice";
    if (row.loop) continue;
    // Playback may start up to 506 bytes in (126 frames): nothing audible may lie there.
    EXPECT_LE(Peak(w, 127), 100);
    EXPECT_LE(std::abs(int(w.left.back())), 100);
    EXPECT_LE(std::abs(int(w.right.back())), 100);
  }
}

TEST(ContentSounds, EveryLoopJoinsEndToStartWithoutAJump) {
  for (const SoundRow& row : SoundCatalogue()) {
    if (!row.loop) continue;
    SCOPED_TRACE(row.file);
    Wav w;
    ASSERT_TRUE(ReadWav(testing::BuiltProgramDir() / "Sounds" / row.file, w));
    // Below a hundredth of full scale from the last sample to the first: no click at the wrap.
    EXPECT_LT(std::abs(w.left.front() - w.left.back()), 328);
    EXPECT_LT(std::abs(w.right.front() - w.right.back()), 328);
  }
}

}  // namespace
}  // namespace vorlan
