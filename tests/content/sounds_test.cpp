// The generated sound bank: the format the mixer expects, sensible lengths and levels, a quiet
// start that random start offsets cannot cut, no click at the end, and seamless loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sound/sound_bank.h"
#include "support/test_game.h"

namespace vorlan {
namespace {

// The loudest sample among the first frames of interleaved stereo.
int Peak(const std::vector<int16_t>& s, size_t frames) {
  int p = 0;
  for (size_t i = 0; i < 2 * frames && i < s.size(); ++i) p = std::max(p, std::abs(int(s[i])));
  return p;
}

TEST(ContentSounds, EverySoundIsStereo16BitPcmWithoutAClickAtEitherEnd) {
  std::set<std::vector<int16_t>> seen;
  for (const SoundRow& row : SoundCatalogue()) {
    SCOPED_TRACE(row.file);
    std::string bytes = ReadWholeFile(testing::BuiltProgramDir() / "Sounds" / row.file).value_or("");
    auto pcm = ParseWav(bytes);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(std::pair(pcm->channels, pcm->sampleRate), std::pair(2, 22050));
    // The plain 44-byte header, then two bytes a sample (16 bits) as long as it says: nothing cut off.
    uint32_t declared = 0;
    std::memcpy(&declared, bytes.data() + 40, 4);
    EXPECT_EQ(declared, bytes.size() - 44);
    ASSERT_EQ(pcm->Bytes(), declared);
    const std::vector<int16_t>& s = pcm->samples;
    // From a menu blip to an ambience loop; a loop long enough not to be heard repeating.
    double secs = s.size() / 2 / 22050.0;
    EXPECT_GE(secs, row.loop ? 1.5 : 0.03);
    EXPECT_LE(secs, 20.0);
    // One common loudness: every file peaks just under full scale.
    int peak = Peak(s, s.size());
    EXPECT_GE(peak, 26000);
    EXPECT_LE(peak, 30000);
    EXPECT_TRUE(seen.insert(s).second) << "the same sound twice";
    if (row.loop) {
      // Below a hundredth of full scale from the last sample to the first: no click at the wrap.
      EXPECT_LT(std::abs(s[0] - s[s.size() - 2]), 328);
      EXPECT_LT(std::abs(s[1] - s[s.size() - 1]), 328);
    } else {
      // Playback may start up to 506 bytes in (126 frames): nothing audible may lie there.
      EXPECT_LE(Peak(s, 127), 100);
      EXPECT_LE(std::abs(int(s[s.size() - 2])), 100);
      EXPECT_LE(std::abs(int(s.back())), 100);
    }
  }
}

}  // namespace
}  // namespace vorlan
