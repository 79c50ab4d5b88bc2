#include "shell/program.h"

#include <memory>

#include "game.h"
#include "shell/startup.h"

namespace vorlan {

int RunProgram(Platform& platform) {
  // The game is large: it lives on the heap, not on main's stack.
  auto game = std::make_unique<Game>(platform);
  WindowLoad(*game);
  return 0;
}

}  // namespace vorlan
