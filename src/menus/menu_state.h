// State of the menu screens (module Menus).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct MenuState {
  std::string CurrentScreen;  // "" main menu, "HS", "WS", "OPTIONS", "HELP", "ABOUT"
  int16_t WsScroll = 0;       // world-score slider thumb y on Field, kept in 51..175
  double WsOffset = 0;        // first world slot shown: (WsScroll - 51) x 90 / 124
};

}  // namespace vorlan
