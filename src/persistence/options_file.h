// The options and play statistics file "\OtherFiles\Options.txt".
#pragma once

#include <string>
#include <vector>

#include "game.h"

namespace vorlan {

// save false reads the 16 lines, save true writes them. A file that cannot be used (cut short,
// junk, too large) is kept aside as "Options.txt.damaged" and the game starts from the shipped
// options, with the play statistics that could be read.
void OptionsFile(Game& g, bool save);

// The options a new installation starts with: effects on, debug info off, stereo, volume 80,
// windowed, static movement.
OptionsState ShippedOptions();
// The 16 lines of the file for these options.
std::vector<std::string> OptionsFileLines(const OptionsState& o);

}  // namespace vorlan
