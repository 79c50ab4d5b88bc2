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
    int lit = 0;  // the body is not drawn
    for (int y = 50; y < 245; ++y)
      for (int x = 0; x < 300; ++x) lit += GetPixel(g.form.Field, x, y) != 0;
    EXPECT_EQ(lit, 0);
  }
}

TEST_F(InfoScreens, OptionRowsToggleSwitchTheScreenAndTheNewValueIsOnDisk) {
  OptionsState& o = g.options;
  o.OptSnow = 0;
  o.OptBulletFly = 8;
  o.OptBloodFly = 5;     // odd values from an edited file
  o.OptBloodStays = -3;
  o.OptFullScreen = 8;
  o.SoundVolume = 0;
  // Rows by their text or their check box; the box left of "Sound: Stereo" shows the mute state
  // and is not that row's.
  const std::pair<int, int> presses[] = {{45, 55},  {45, 65},  {34, 77},  {45, 85}, {154, 57},
                                         {45, 155}, {34, 157}, {45, 165}, {45, 130}};
  for (auto [x, y] : presses) {
    Cursor(x, y, true);
    OptionsScreen(g);
  }
  // Positive becomes 0, anything else 8.
  EXPECT_EQ(std::vector<long long>({o.OptSnow, o.OptBulletFly, o.OptBloodFly, o.OptBloodStays,
                                    o.OptAlphaBlend, o.OptMono, o.OptMovementReal, o.OptFullScreen, o.SoundMuted}),
            std::vector<long long>({8, 0, 0, 8, 8, 8, 8, 0, 8}));
  EXPECT_TRUE(plat.fullScreen);

  // Closing right after the last click keeps every change.
  Game restarted(plat);
  OptionsFile(restarted, false);
  EXPECT_EQ(restarted.options.OptSnow, 8);
  EXPECT_EQ(restarted.options.OptMovementReal, 8);
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
