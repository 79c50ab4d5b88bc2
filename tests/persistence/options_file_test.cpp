#include "persistence/options_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/headless/headless_platform.h"

namespace vorlan {
namespace {

class OptionsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(plat.ProgramDir() / "OtherFiles"); }
  std::filesystem::path File() { return plat.ProgramDir() / "OtherFiles" / "Options.txt"; }
  void Write(const std::string& bytes) { WriteWholeFile(File(), bytes); }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(OptionsFileTest, RoundTripInThePrintFormatWithCrLf) {
  OptionsState& o = g.options;
  o.OptBloodFly = 8, o.SoundVolume = 80, o.PlayMinutes = 123456, o.MapsGenerated = 1;
  o.OptFullScreen = 8, o.OptMovementReal = -1;
  OptionsFile(g, true);
  EXPECT_EQ(ReadWholeFile(File()).value_or(""),
            " 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 80 \r\n 123456 \r\n 0 \r\n 0 \r\n 1 \r\n 8 "
            "\r\n-1 \r\n 0 \r\n 0 \r\n");
  Game other(plat);
  OptionsFile(other, false);
  auto& r = other.options;
  EXPECT_EQ(std::vector<long long>({r.OptBloodFly, r.SoundVolume, r.PlayMinutes, r.OptFullScreen, r.OptMovementReal}),
            std::vector<long long>({8, 80, 123456, 8, -1}));

  // An unwritable folder keeps the settings in memory.
  std::filesystem::remove_all(plat.ProgramDir() / "OtherFiles");
  OptionsFile(g, true);
  EXPECT_FALSE(std::filesystem::exists(File()));
  EXPECT_EQ(g.options.SoundVolume, 80);
}

TEST_F(OptionsFileTest, IntegerPartTowardMinusInfinityAndValidatedLines) {
  Write("7.9\n-0.5\n0\n0\n0\n0\n0\n500\n2.5\n3\n 5 \n1\n 5 \n8\n0\n0\n");  // LF only is read too
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 7);
  EXPECT_EQ(g.options.OptBloodStays, -1);
  EXPECT_EQ(g.options.SoundVolume, 100);  // stays a percentage
  EXPECT_EQ(g.options.PlayMinutes, 2);
  EXPECT_EQ(g.options.OptFootSteps, 0);   // not a flag value: foot-steps on
  EXPECT_EQ(g.options.OptFullScreen, 8);  // not a flag value: windowed
}

// Cut short, junk or too large: kept aside, and the start is windowed with the shipped options and
// the statistics that could be read, never everything on.
TEST_F(OptionsFileTest, ADamagedFileIsKeptAsideAndTheShippedOptionsTakeItsPlace) {
  const std::vector<std::string> damaged = {
      "99999999\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n50\r\n95\r\n12\r\n0\r\n1\r\n8\r\n0\r\n0\r\n0\r\n",
      "8\r\n8\r\n8\r\n0\r\n0\r\nsnow\r\n0\r\n50\r\n95\r\n12\r\n0\r\n1\r\n8\r\n8\r\n8\r\n8\r\n",
      "8\r\n8\r\n8\r\n0\r\n0\r\n8\r\n0\r\n50\r\n95\r\n12\r\n0\r\n1\r\n8\r\n"};
  Game shipped(plat);
  shipped.options = ShippedOptions();
  for (const std::string& bytes : damaged) {
    SCOPED_TRACE(bytes);
    std::filesystem::remove(File().string() + ".damaged");
    Write(bytes);
    g.options = OptionsState{};
    OptionsFile(g, false);
    EXPECT_EQ(ReadWholeFile(File().string() + ".damaged"), bytes);
    EXPECT_EQ(g.options.OptFullScreen, 8);
    EXPECT_EQ(g.options.OptDebugInfo, 8);
    EXPECT_EQ(g.options.SoundVolume, 80);
    EXPECT_EQ(std::vector<long long>({g.options.PlayMinutes, g.options.TimesPlayed, g.options.MapsGenerated}),
              std::vector<long long>({95, 12, 1}));
    // The file now holds them, so the next start reads the same.
    shipped.options.PlayMinutes = 95, shipped.options.TimesPlayed = 12, shipped.options.MapsGenerated = 1;
    EXPECT_EQ(ReadLines(File()), OptionsFileLines(shipped.options));
  }

  // A file larger than sixteen numbers can be is refused unread; a huge sparse file would take
  // seconds and hundreds of megabytes to read. A second damaged file keeps the first one.
  std::filesystem::resize_file(File(), 1ull << 30);
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptFullScreen, 8);
  EXPECT_EQ(g.options.PlayMinutes, 0);
  EXPECT_EQ(std::filesystem::file_size(File().string() + ".damaged.2"), 1ull << 30);
  EXPECT_TRUE(std::filesystem::exists(File().string() + ".damaged"));
}

}  // namespace
}  // namespace vorlan
