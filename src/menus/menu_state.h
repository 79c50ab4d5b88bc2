// State of the menu screens (module Menus).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct MenuState {
  std::string CurrentScreen;  // "" main menu, "HS", "WS", "OPTIONS", "HELP", "ABOUT"
  int16_t WsScroll = 0;       // world-score slider thumb y on Field, kept in 51..175
  double WsOffset = 0;        // first world slot shown: (WsScroll - 51) x 90 / 124

  // Immediate-mode items.
  int16_t MenuClickY = 0;      // y of the item clicked in this pass, 0 when none
  int16_t HoverY = 0;          // y of the item last under the cursor with the button up
  std::string LastHoverText;   // text of the item last under the cursor; never cleared
  uint32_t MenuTextColor = 0x800000;  // COLORREF of the item being drawn
  double WsRecentCut = 0;      // today as yyyymmdd minus 3: newer world results are marked
};

}  // namespace vorlan
