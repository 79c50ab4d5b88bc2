// Screenshots of what the player sees (Field over StatusField, 300 x 378) as JPEG files.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

// Writes stem + ".jpg" at the given quality from the displayed Field and StatusField; no
// ".bmp" is left behind. An empty stem writes "desktop\test.jpg" in the data folder.
void SaveScreenshot(Game& g, const std::filesystem::path& stem, int quality);
// The Insert key's screenshot: "Vorlan Pic<N>.jpg" in the program folder with the first free N,
// then the Photo sound.
void TakeScreenshot(Game& g);

}  // namespace vorlan
