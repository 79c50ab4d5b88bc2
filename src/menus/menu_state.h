// State of the menu screens (module Menus).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct MenuState {
};

}  // namespace vorlan
