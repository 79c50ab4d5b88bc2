// The real platform (temporary body while the SDL one lands).
#include "platform/sdl_platform.h"

namespace vorlan {

std::unique_ptr<Platform> MakeSdlPlatform(const char*) { return nullptr; }

}  // namespace vorlan
