// Notices: what the game could not do, told to the player in the window for a few seconds and
// to whoever started it on standard error. Failed saves are told once until a save works again.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

#include "game.h"

namespace vorlan {

// Puts headline (and detail below it) over Field for a few seconds from the next menu pass;
// errorLine goes to standard error at once.
void Notify(Game& g, std::string_view headline, std::string_view detail, std::string_view errorLine);
// Draws the current notice onto Field while its time lasts (every main-loop pass).
void DrawNotice(Game& g);

// A save of what ("SCORE", "OPTIONS", ...) into file failed for why: the player is told
// "<what> NOT SAVED: <REASON>" with the folder, unless already told since the last good save.
void SaveFailed(Game& g, std::string_view what, const std::filesystem::path& file, std::error_code why);
// A save of what went through: a later failure is told again.
void SaveWorked(Game& g, std::string_view what);
// The reason of a failed save as the player reads it ("DISK FULL", "READ-ONLY DISK", ...).
std::string_view SaveFailureReason(std::error_code why);

}  // namespace vorlan
