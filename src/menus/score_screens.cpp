#include "menus/score_screens.h"

#include <algorithm>

#include "graphics/picture_catalogue.h"
#include "menus/menu_framework.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "shell/display.h"
#include "text.h"
#include "worldscores/score_server.h"
#include "worldscores/world_table.h"

namespace vorlan {

namespace {

constexpr Color kPanelGreen = 0x00FF00;

void DrawDetails(Game& g, const ScoreRecord& r) {
  Surface& sf = g.form.StatusField;
  const Pictures& p = g.pics;
  ClearStatusField(g);

  BitBlt(sf, 0, 0, 300, 10, p.PicStatusHealth, 0, 0, Rop::SrcCopy);
  DrawText(g, sf, 150, -2, Fixed("[" + r.MaxHealth + "]", 20), 20);
  BitBlt(sf, 0, 10, 300, 10, p.PicStatusAmmo, 0, 0, Rop::SrcCopy);
  DrawText(g, sf, 150, 8, Fixed("[" + r.MaxAmmo + "]", 20), 20);

  const Surface* strips[4] = {&p.PicStatusAccuracy, &p.PicStatusRecharge, &p.PicStatusBulletSpeed,
                              &p.PicStatusMelee};
  const std::string* values[4] = {&r.Accuracy, &r.Recharge, &r.BulletSpeed, &r.Melee};
  for (int k = 0; k < 4; ++k) {
    const int y = 25 + 10 * k;
    BitBlt(sf, 0, y, 300, 10, *strips[k], 0, 0, Rop::SrcCopy);
    // A value from a foreign table may be anything: the bar stays within the panel.
    const double width = std::clamp(Nearest(Num(*values[k]) * 18.5 + 98), 0.0, 300.0);
    BitBlt(sf, 0, y, static_cast<int>(width), 7, *strips[k], 0, 10, Rop::SrcCopy);
  }

  sf.foreColor = kPanelGreen;
  DrawText(g, sf, 2, 63, "Score=" + r.Score + "     Killed=" + r.Kills);
  std::string time = " Time=" + r.Time + std::string(50, ' ');
  DrawText(g, sf, 220, 63, time.substr(0, 50));
  sf.foreColor = kMenuNavy;
  RefreshStatusField(g);
}

}  // namespace

void SetWsScroll(Game& g, int scroll) {
  g.menus.WsScroll = Sat16(std::clamp(scroll, 51, 175));
  g.menus.WsOffset = (g.menus.WsScroll - 51) * 90.0 / 124.0;
}

void HighScoreScreen(Game& g) {
  MenuState& m = g.menus;
  g.ws.Connected = Bool16(CheckConnection(g));
  g.form.Field.fontBold = true;
  DrawMenuItem(g, "HIGH SCORES", 30, 25, 10, false);
  if (!g.hs.NameEntryActive) {
    if (!g.ws.Connected) DrawMenuItem(g, "PLEASE CONNECT FIRST", 165, 250, 6, false);
    if (DrawMenuItem(g, "MAIN MENU", 30, 260, 10, true)) {
      LeaveScreen(g);
      return;
    }
    // The way to the world table; tested after MAIN MENU, so one click selects one of them.
    if (DrawMenuItem(g, "WORLD SCORES", 165, 260, 10, true)) {
      m.CurrentScreen = "WS";
      m.MenuClickY = 0;
      g.form.Field.fontBold = false;
      return;
    }
  }
  m.MenuClickY = 0;
  g.form.Field.fontBold = false;

  HighScoreCheck(g, 0);

  int selected = 0;
  for (int i = 0; i <= 9; ++i) {
    if (Num(g.hs.HsScore[i]) <= 0) continue;
    const int y = 50 + 14 * i;
    DrawMenuItem(g, IntText(i + 1) + ".", 30, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
    DrawMenuItem(g, g.hs.HsScore[i], 50, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
    DrawMenuItem(g, g.hs.HsName[i], 85, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
  }
  if (selected > 0) {
    ShowResultDetails(g, selected - 1);
    g.form.Field.fontBold = true;
    DrawMenuItem(g, g.hs.HsName[selected - 1], 30, 193, 12, false);
    g.form.Field.fontBold = false;
    DrawMenuItem(g, "Times played: " + g.hs.HsTimesPlayed[selected - 1], 30, 210, 10, false);
  }
  DrawScreenTitle(g);
}

void WorldScoreScreen(Game& g) {
  MenuState& m = g.menus;
  WorldScoreState& ws = g.ws;
  ws.Connected = Bool16(CheckConnection(g));
  g.form.Field.fontBold = true;

  DrawMasked(g.form.Field, 270, 50, 10, 140, g.pics.PicSliderMenu, 0, 0, 10, 0);
  m.WsScroll = Sat16(std::clamp<int>(m.WsScroll, 51, 175));
  BitBlt(g.form.Field, 271, m.WsScroll, 8, 14, g.pics.PicSliderDrag, 0, 0, Rop::SrcCopy);
  if (g.input.MouseLeft && g.input.CursorX >= 271 && g.input.CursorX <= 279 &&
      g.input.CursorY - 7 > 30 && g.input.CursorY - 7 < 210)
    SetWsScroll(g, g.input.CursorY - 7);

  DrawMenuItem(g, "WORLD SCORES", 30, 25, 10, false);
  if (DrawMenuItem(g, "MAIN MENU", 30, 260, 10, true)) {
    LeaveScreen(g);
    return;
  }
  // The status line over the button: why the last synchronisation failed, when it did.
  if (!ws.Connected)
    DrawMenuItem(g, "PLEASE CONNECT FIRST", 125, 250, 6, false);
  else if (!ws.SyncFailure.empty())
    DrawMenuItem(g, ws.SyncFailure, 125, 250, 6, false);
  if (DrawMenuItem(g, "SYNCHRONIZE SCORES", 125, 260, 10, ws.Connected != 0)) DownloadScores(g);

  m.MenuClickY = 0;
  g.form.Field.fontBold = false;
  DrawMenuItem(g, "LAST UPDATE: " + ws.WsLastUpdate, 30, 226, 8, false);
  DrawMenuItem(g, "UPLOADS BY ALL USERS: " + IntText(ws.WsUploads), 30, 237, 8, false);

  LoadWorldScores(g);
  m.WsRecentCut = Num(g.plat.TodayText()) - 3;

  const int first = static_cast<int>(Floor(m.WsOffset));
  int selected = 0;
  for (int i = 0; i <= 9; ++i) {
    const int r = i + first;
    const int y = 50 + 14 * i;
    if (r < 0 || r >= static_cast<int>(ws.WsScore.size()) || Num(ws.WsScore[r]) <= 0) continue;
    std::string date = ws.WsDate[r];
    date.erase(0, date.find_first_not_of(' '));
    if (!date.starts_with("?")) ws.WsMark[r] = Num(date) >= m.WsRecentCut ? 1 : 2;
    const int mark = ws.WsMark[r];
    if (mark == 0 || mark == 1 || mark == 2)
      BitBlt(g.form.Field, 75, y + 3, 9, 9, g.pics.PicScoreUpDown, 0, mark == 1 ? 0 : mark == 0 ? 9 : 18,
             Rop::SrcCopy);
    DrawMenuItem(g, IntText(r + 1) + ".", 30, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
    DrawMenuItem(g, ws.WsScore[r], 50, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
    DrawMenuItem(g, ws.WsName[r], 85, y, 9, false);
    if (m.HoverY == y) selected = i + 1;
  }
  if (selected > 0) {
    const int s = first + selected - 1;
    ShowWorldResultDetails(g, s);
    g.form.Field.fontBold = true;
    DrawMenuItem(g, ws.WsName[s], 30, 193, 12, false);
    g.form.Field.fontBold = false;
    DrawMenuItem(g, "Times played: " + ws.WsTimesPlayed[s], 30, 210, 8, false);
  }
  DrawScreenTitle(g);
}

void ShowResultDetails(Game& g, int slot) {
  if (slot < 0 || slot >= kHsSlots) return;
  DrawDetails(g, HsRecord(g.hs, slot));
}

void ShowWorldResultDetails(Game& g, int slot) {
  if (slot < 0 || slot >= static_cast<int>(g.ws.WsScore.size())) return;
  DrawDetails(g, WsRecord(g.ws, slot));
}

}  // namespace vorlan
