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

TEST_F(OptionsFileTest, IntegerPartTowardMinusInfinityValidatedLinesAndDamagedLinesKeepTheValueInMemory) {
  Write("7.9\n-0.5\n0\n0\n0\n0\n0\n50\n2.5\n3\n 5 \n1\n 5 \n8\n0\n0\n");  // LF only is read too
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 7);
  EXPECT_EQ(g.options.OptBloodStays, -1);
  EXPECT_EQ(g.options.PlayMinutes, 2);
  EXPECT_EQ(g.options.OptFootSteps, 0);   // not a flag value: foot-steps on
  EXPECT_EQ(g.options.OptFullScreen, 8);  // not a flag value: windowed

  g.options.OptBloodFly = 8, g.options.OptSnow = 8, g.options.OptKillsInRow = 8;
  Write("99999999\r\n0\r\n0\r\n0\r\n0\r\nsnow\r\n0\r\n500\r\n1e300\r\n");  // short, too big, not a number
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 8);  // does not fit 16 bits
  EXPECT_EQ(g.options.OptSnow, 8);
  EXPECT_EQ(g.options.SoundVolume, 100);  // stays a percentage
  EXPECT_EQ(g.options.PlayMinutes, 2);  // kept
  EXPECT_EQ(g.options.OptKillsInRow, 8);  // no line 16

  // A file larger than sixteen numbers can be is junk, refused unread like a missing one; a huge
  // sparse file would take seconds and hundreds of megabytes to read.
  std::filesystem::resize_file(File(), 1ull << 30);
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 0);
  EXPECT_EQ(g.options.OptKillsInRow, 0);
}

}  // namespace
}  // namespace vorlan
