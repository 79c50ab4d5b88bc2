// Screenshots of what the player sees (Field over StatusField, 300 x 378) as JPEG files.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

// Writes stem + ".jpg" at the given quality; no ".bmp" is left behind.
void SaveScreenshot(Game& g, const std::filesystem::path& stem, int quality);

}  // namespace vorlan
