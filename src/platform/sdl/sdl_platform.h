// The real platform: SDL2 window, events, keyboard and audio; media and network as shared.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vorlan {

// argv0 locates the program folder. Returns nullptr, with the reason on standard error, when no
// window can be shown.
std::unique_ptr<Platform> MakeSdlPlatform(const char* argv0);

}  // namespace vorlan
