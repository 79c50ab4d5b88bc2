#include "persistence/options_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "numbers.h"
#include "platform/headless_platform.h"

namespace vorlan {
namespace {

class OptionsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(plat.ProgramDir() / "OtherFiles"); }
  std::filesystem::path File() { return plat.ProgramDir() / "OtherFiles" / "Options.txt"; }
  void WriteRaw(const std::string& bytes) { std::ofstream(File(), std::ios::binary) << bytes; }
  std::string ReadRaw() {
    std::ifstream in(File(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Sixteen lines of values, CR LF ended.
  static std::string Lines(std::initializer_list<const char*> values) {
    std::string s;
    for (const char* v : values) s += std::string(v) + "\r\n";
    return s;
  }
  HeadlessPlatform plat;
  Game g{plat};
};

TEST_F(OptionsFileTest, WritesSixteenLinesInThePrintFormatAndReadsThemBack) {
  OptionsState& o = g.options;
  o.OptBloodFly = 8;
  o.OptBloodStays = 0;
  o.OptBulletFly = 8;
  o.OptDebugInfo = 8;
  o.OptScoreInfo = 0;
  o.OptSnow = 8;
  o.OptMono = 0;
  o.SoundVolume = 80;
  o.PlayMinutes = 123456;
  o.TimesPlayed = 70000;
  o.OptFootSteps = 8;
  o.MapsGenerated = 1;
  o.OptFullScreen = 8;
  o.OptMovementReal = 0;
  o.OptAlphaBlend = 8;
  o.OptKillsInRow = 0;
  OptionsFile(g, true);
  EXPECT_EQ(ReadRaw(), Lines({" 8 ", " 0 ", " 8 ", " 8 ", " 0 ", " 8 ", " 0 ", " 80 ", " 123456 ", " 70000 ",
                              " 8 ", " 1 ", " 8 ", " 0 ", " 8 ", " 0 "}));

  Game other(plat);
  OptionsFile(other, false);
  const OptionsState& r = other.options;
  EXPECT_EQ(r.OptBloodFly, 8);
  EXPECT_EQ(r.OptBulletFly, 8);
  EXPECT_EQ(r.OptDebugInfo, 8);
  EXPECT_EQ(r.OptSnow, 8);
  EXPECT_EQ(r.SoundVolume, 80);
  EXPECT_EQ(r.PlayMinutes, 123456);
  EXPECT_EQ(r.TimesPlayed, 70000);
  EXPECT_EQ(r.OptFootSteps, 8);
  EXPECT_EQ(r.MapsGenerated, 1);
  EXPECT_EQ(r.OptFullScreen, 8);
  EXPECT_EQ(r.OptAlphaBlend, 8);
  EXPECT_EQ(r.OptKillsInRow, 0);
}

TEST_F(OptionsFileTest, NegativeValuesHaveNoLeadingBlank) {
  g.options.OptMovementReal = -1;
  OptionsFile(g, true);
  std::string text = ReadRaw();
  EXPECT_NE(text.find("\r\n-1 \r\n"), std::string::npos);
  EXPECT_EQ(text.find(" -1"), std::string::npos);
}

TEST_F(OptionsFileTest, IntegerPartRoundsTowardMinusInfinityAndTwoLinesAreValidated) {
  WriteRaw(
      Lines({"7.9", "-0.5", "0", "0", "0", "0", "0", " 50 ", "2.5", "3", " 5 ", "1", " 5 ", "8", "0", "0"}));
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 7);
  EXPECT_EQ(g.options.OptBloodStays, -1);
  EXPECT_EQ(g.options.SoundVolume, 50);
  EXPECT_EQ(g.options.PlayMinutes, 2);
  EXPECT_EQ(g.options.OptFootSteps, 0);   // 5 is no flag value: foot-steps on
  EXPECT_EQ(g.options.OptFullScreen, 8);  // 5 is no flag value: windowed
  EXPECT_EQ(g.options.OptMovementReal, 8);
}

TEST_F(OptionsFileTest, MissingFileSetsEverySettingToZero) {
  g.options.OptSnow = 8;
  g.options.SoundVolume = 80;
  g.options.OptFullScreen = 8;
  g.options.TimesPlayed = 9;
  g.options.MapsGenerated = 1;
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptSnow, 0);
  EXPECT_EQ(g.options.SoundVolume, 0);
  EXPECT_EQ(g.options.OptFullScreen, 0);
  EXPECT_EQ(g.options.TimesPlayed, 0);
  EXPECT_EQ(g.options.MapsGenerated, 0);
}

TEST_F(OptionsFileTest, ShortOrNonNumericLinesKeepTheValueInMemory) {
  g.options.OptSnow = 8;
  g.options.SoundVolume = 77;
  g.options.OptKillsInRow = 8;
  // Plain LF line ends are accepted too.
  WriteRaw("0\n0\n0\n0\n0\nsnow\n0\n\n");
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptSnow, 8);
  EXPECT_EQ(g.options.SoundVolume, 77);
  EXPECT_EQ(g.options.OptKillsInRow, 8);
}

TEST_F(OptionsFileTest, DamagedNumbersStayWithinTheirRanges) {
  g.options.OptBloodFly = 8;
  WriteRaw(
      Lines({"99999999", "0", "0", "0", "0", "0", "0", "500", "1e300", "0", "0", "0", "8", "0", "0", "0"}));
  OptionsFile(g, false);
  EXPECT_EQ(g.options.OptBloodFly, 8);    // does not fit 16 bits: kept
  EXPECT_EQ(g.options.SoundVolume, 100);  // a percentage
  EXPECT_EQ(g.options.PlayMinutes, 0);
}

TEST_F(OptionsFileTest, UnwritableFolderKeepsSettingsInMemory) {
  std::filesystem::remove_all(plat.ProgramDir() / "OtherFiles");
  g.options.SoundVolume = 42;
  OptionsFile(g, true);
  EXPECT_FALSE(std::filesystem::exists(File()));
  EXPECT_EQ(g.options.SoundVolume, 42);
}

}  // namespace
}  // namespace vorlan
