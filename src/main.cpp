// Creates the real platform and runs the game until its window closes.
#include <memory>

#include "game.h"
#include "platform/sdl/sdl_platform.h"
#include "shell/startup.h"

int main(int, char** argv) {
  auto platform = vorlan::MakeSdlPlatform(argv[0]);
  if (!platform) return 1;
  auto game = std::make_unique<vorlan::Game>(*platform);
  vorlan::WindowLoad(*game);
  return 0;
}
