#include "graphics/screen_capture.h"

namespace vorlan {

void SaveScreenshot(Game& g, const std::filesystem::path& stem, int quality) {}

}  // namespace vorlan
