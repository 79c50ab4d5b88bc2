#include "menus/info_screens.h"

#include "menu_fixture.h"
#include "persistence/options_file.h"

namespace vorlan {
namespace {

using InfoScreens = MenuFixture;

TEST_F(InfoScreens, MainMenuItemEndsThePassAtOnce) {
  for (auto screen : {HelpScreen, AboutScreen, OptionsScreen}) {
    g.menus.CurrentScreen = "X";
    g.form.Field.Fill(0);
    Click(30, 260);
    screen(g);
    EXPECT_EQ(g.menus.CurrentScreen, "");
    // Nothing of the body was drawn: the rows from y 50 to 240 stay black.
    bool blank = true;
    for (int y = 50; y < 245 && blank; ++y)
      for (int x = 0; x < 300; ++x) blank = blank && GetPixel(g.form.Field, x, y) == 0;
    EXPECT_TRUE(blank);
  }
}

TEST_F(InfoScreens, OptionRowsToggleAndTheNewValueIsOnDisk) {
  OptionsState& o = g.options;
  o.OptSnow = 0;
  o.OptBulletFly = 8;
  o.OptBloodFly = 5;     // odd values from an edited file
  o.OptBloodStays = -3;
  const std::pair<int, int> rows[] = {{42, 50}, {42, 60}, {42, 70}, {42, 80}};
  for (auto [x, y] : rows) {
    Click(x, y);
    OptionsScreen(g);
  }
  EXPECT_EQ(o.OptSnow, 8);
  EXPECT_EQ(o.OptBulletFly, 0);
  EXPECT_EQ(o.OptBloodFly, 0);   // positive becomes 0
  EXPECT_EQ(o.OptBloodStays, 8); // anything else becomes 8

  Click(162, 51);
  OptionsScreen(g);
  EXPECT_EQ(o.OptAlphaBlend, 8);
  Click(42, 150);
  OptionsScreen(g);
  EXPECT_EQ(o.OptMono, 8);
  Click(42, 160);
  OptionsScreen(g);
  EXPECT_EQ(o.OptMovementReal, 8);

  // Closing right after the last click keeps every change.
  Game restarted(plat);
  OptionsFile(restarted, false);
  EXPECT_EQ(restarted.options.OptSnow, 8);
  EXPECT_EQ(restarted.options.OptAlphaBlend, 8);
  EXPECT_EQ(restarted.options.OptMovementReal, 8);
}

TEST_F(InfoScreens, FullScreenSwitchAndSoundMuted) {
  g.options.OptFullScreen = 8;
  Click(42, 125);
  OptionsScreen(g);
  EXPECT_EQ(g.options.OptFullScreen, 0);
  EXPECT_TRUE(plat.fullScreen);
  Click(42, 125);
  OptionsScreen(g);
  EXPECT_EQ(g.options.OptFullScreen, 8);
  EXPECT_FALSE(plat.fullScreen);

  g.options.SoundVolume = 0;
  Cursor(0, 0);
  OptionsScreen(g);
  EXPECT_EQ(g.options.SoundMuted, 8);
  g.options.SoundVolume = 1;
  OptionsScreen(g);
  EXPECT_EQ(g.options.SoundMuted, 0);
}

TEST(PlayTime, DaysHoursAndMinutesWithUntouchedCountersEmpty) {
  struct Case { long long minutes; const char *days, *hours, *mins; };
  for (auto c : {Case{0, "", "", ""}, Case{59, "", "", "59"}, Case{60, "", "1", "0"},
                 Case{90, "", "1", "30"}, Case{24 * 60 + 5, "1", "0", "5"}}) {
    PlayTimeTexts t = PlayTime(c.minutes);
    EXPECT_EQ(t.days + "|" + t.hours + "|" + t.minutes,
              std::string(c.days) + "|" + c.hours + "|" + c.mins) << c.minutes;
  }
}

}  // namespace
}  // namespace vorlan
