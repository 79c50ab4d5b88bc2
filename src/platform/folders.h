// The folders service: where the game's files live, and the process environment. Also the
// folder lookup of the real platform: the content beside the executable (a build folder) or in
// ../share/vorlan (an installed copy), and the player's own folder under $XDG_DATA_HOME for
// everything the game writes when it may not write beside its content.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace vorlan {

class Folders {
 public:
  virtual ~Folders() = default;

  // The program folder: the executable's folder with Pictures/, Sounds/, OtherFiles/ beside it,
  // or the player's folder that takes the game's own files when that one is not writable.
  virtual std::filesystem::path ProgramFolder() = 0;
  // The data folder standing in for "c:\Windows\" (created at start).
  virtual std::filesystem::path DataFolder() = 0;
  // Read-only content of an installed copy; empty when it lies in the program folder.
  virtual std::filesystem::path ContentFolder() = 0;
  // The value of an environment variable; empty when it is not set.
  virtual std::string GetEnv(std::string_view name) = 0;
};

// The player's folder: $XDG_DATA_HOME/vorlan, else <home>/.local/share/vorlan with home from
// $HOME or, failing that, the password database. Relative settings are ignored. Empty when there
// is no home at all. The arguments are the environment's values (nullptr when unset).
// On Windows it is %APPDATA%\Vorlan (the roaming application data folder), and the arguments
// are not used.
std::filesystem::path PlayerFolder(const char* xdgDataHome, const char* home);
// The player's folder of this process's user, from its environment.
std::filesystem::path ThisPlayersFolder();

// The folders of a game whose executable lies in exeFolder, with player the player's folder.
// Content beside a writable executable folder: the game keeps its files there, as a build
// folder always has. Otherwise (an installed or read-only copy) the content is only read and
// every file the game writes goes into the player's folder, which is created and given its own
// copies of the shipped defaults the game rewrites.
GameFolders SetUpGameFolders(const std::filesystem::path& exeFolder, const std::filesystem::path& player);

}  // namespace vorlan
