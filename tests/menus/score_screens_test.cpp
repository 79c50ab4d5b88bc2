#include "menus/score_screens.h"

#include <tuple>

#include "menu_fixture.h"
#include "menus/menu_framework.h"
#include "persistence/high_score_fixture.h"

namespace vorlan {
namespace {

using ScoreScreens = MenuFixture;

constexpr Color kRed = 0x0000FF;

// A local table already loaded, with three results.
void LocalTable(Game& g) {
  g.hs.HsLoadCounter = 1;
  for (int i = 0; i < 3; ++i) SetHsRecord(g.hs, i, testing::Sample(900 - 100 * i, "P" + std::to_string(i)));
}

TEST_F(ScoreScreens, HighScoreScreenLeadsToTheMainMenuAndTheWorldTableUnlessANameIsTyped) {
  LocalTable(g);
  g.menus.CurrentScreen = "HS";
  Click(30, 260);
  HighScoreScreen(g);
  EXPECT_EQ(g.menus.CurrentScreen, "");
  // The cursor leaves before the next pass: the main menu's EXIT GAME at y 260 stays untouched.
  Cursor(200, 200);
  MainMenuScreen(g);
  EXPECT_FALSE(g.form.Quit);

  g.menus.CurrentScreen = "HS";
  Click(165, 260);
  HighScoreScreen(g);
  EXPECT_EQ(g.menus.CurrentScreen, "WS");

  // During the name entry there is no way out.
  g.menus.CurrentScreen = "HS";
  g.hs.NameEntryActive = kTrue;
  g.hs.NameRow = 1;
  Click(165, 260);
  HighScoreScreen(g);
  EXPECT_EQ(g.menus.CurrentScreen, "HS");
  EXPECT_TRUE(plat.textInput);  // the entry step ran and takes typed text
}

TEST_F(ScoreScreens, HoveredRowStaysSelectedAndShowsItsDetails) {
  LocalTable(g);
  g.pics.PicStatusAccuracy.Resize(300, 20, 0);
  for (int y = 10; y < 17; ++y)
    for (int x = 0; x < 300; ++x) SetPixelV(g.pics.PicStatusAccuracy, x, y, kRed);
  g.menus.CurrentScreen = "HS";

  Cursor(90, 50 + 14 * 1 + 5);  // over the name of place 2
  HighScoreScreen(g);
  EXPECT_EQ(g.menus.HoverY, 64);
  // Accuracy 5: 5 x 18.5 + 98 = 190.5, rounded to the even 190.
  EXPECT_EQ(GetPixel(g.form.StatusField, 189, 25), kRed);
  EXPECT_NE(GetPixel(g.form.StatusField, 190, 25), kRed);

  Cursor(90, 50 + 14 * 1 + 12);  // between rows the selection stays
  HighScoreScreen(g);
  EXPECT_EQ(g.menus.HoverY, 64);
}

TEST_F(ScoreScreens, WorldScreenDragRowsAndSynchroniseWhileOffline) {
  g.menus.CurrentScreen = "WS";
  for (int r = 0; r < 4; ++r) {
    g.ws.WsScore[r] = PadNumber(400 - r, 5);
    g.ws.WsName[r] = "W" + std::to_string(r);
    g.ws.WsDate[r] = "20000101";
  }
  Cursor(0, 0);
  WorldScoreScreen(g);
  EXPECT_EQ(g.menus.WsScroll, 51);  // clamped on the first pass
  EXPECT_EQ(g.ws.WsMark[0], 2);     // an old result

  // Dragging the thumb: the cursor's y - 7 becomes the thumb position, held within the slider.
  for (auto [y, scroll, offset] : {std::tuple{120, 113, 45}, {205, 175, 90}}) {
    Cursor(275, y, true);
    WorldScoreScreen(g);
    EXPECT_EQ(std::tuple(int{g.menus.WsScroll}, static_cast<int>(g.menus.WsOffset)),
              std::tuple(scroll, offset));
  }

  // "SYNCHRONIZE SCORES" cannot be clicked while offline.
  Click(125, 260);
  WorldScoreScreen(g);
  EXPECT_EQ(g.input.MouseLeft, kTrue);
}

TEST_F(ScoreScreens, WorldScreenSaysWhyTheLastSynchronisationFailed) {
  g.menus.CurrentScreen = "WS";
  g.ws.Connected = kTrue;
  Cursor(0, 0);
  auto statusLine = [&] {
    g.form.Field.Fill(0);
    WorldScoreScreen(g);
    Surface line(140, 10);
    BitBlt(line, 0, 0, 140, 10, g.form.Field, 125, 250, Rop::SrcCopy);
    return line.Pixels();
  };
  const auto quiet = statusLine();
  g.ws.SyncFailure = "SERVER NOT REACHABLE";
  const auto failed = statusLine();
  EXPECT_NE(failed, quiet);
  g.ws.Connected = kFalse;  // offline the line asks for a connection instead
  g.ws.SyncFailure.clear();
  const auto offline = statusLine();
  g.ws.SyncFailure = "SERVER NOT REACHABLE";
  EXPECT_EQ(statusLine(), offline);
}

}  // namespace
}  // namespace vorlan
