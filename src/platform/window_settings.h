// The game's own settings beside the options file: the window size chosen by the player, kept in
// $XDG_CONFIG_HOME/vorlan/settings.txt (the options file's format is fixed and has no room).
#pragma once

#include <filesystem>

namespace vorlan {

// $XDG_CONFIG_HOME/vorlan, else <home>/.config/vorlan; relative settings are ignored. Empty when
// there is neither (nothing is remembered then). Arguments are the environment's values or nullptr.
// On Windows it is the player's folder, %APPDATA%\Vorlan.
std::filesystem::path ConfigFolder(const char* xdgConfigHome, const char* home);

// The window's client size from the settings file. False (w and h untouched) when the file is
// missing, damaged or holds a size no window could have.
bool ReadWindowSize(const std::filesystem::path& file, int& w, int& h);

// Writes the size, creating the folder; the old file stays whole when the write fails.
bool WriteWindowSize(const std::filesystem::path& file, int w, int h);

}  // namespace vorlan
