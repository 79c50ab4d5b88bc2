// Creates the real platform and runs the game until its window closes.
#include "platform/sdl/sdl_platform.h"
#include "shell/program.h"

int main(int, char** argv) {
  auto platform = vorlan::MakeSdlPlatform(argv[0]);
  if (!platform) return 1;
  return vorlan::RunProgram(*platform);
}
