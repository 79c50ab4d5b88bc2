// The program's entry: what main() hands the platform to.
#pragma once

#include "platform/platform.h"

namespace vorlan {

// Creates the game on the given platform and runs it until its window closes; the exit status.
int RunProgram(Platform& platform);

}  // namespace vorlan
