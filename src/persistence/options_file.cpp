#include "persistence/options_file.h"

namespace vorlan {

void OptionsFile(Game& g, bool save) {}

}  // namespace vorlan
