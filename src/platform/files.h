// Files and paths of the game: the documented backslash paths ("\OtherFiles\Options.txt",
// "c:\Windows\AtopVo118.vor") resolved in one place, case-insensitively, and text files with CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

struct GameFolders {
  std::filesystem::path program;  // the executable's folder
  std::filesystem::path data;     // stands in for "c:\Windows\"
};

// Resolves a documented path: "c:\Windows\..." (any case) goes under data, a path starting with a
// backslash goes under program. Each component is matched without regard to case against what
// exists; components that do not exist keep the spelling given. Returns nullopt for paths that
// would leave the game's folders ("..", absolute names, drive letters other than c:\Windows).
std::optional<std::filesystem::path> ResolveGamePath(const GameFolders& f, std::string_view documented);

// Reads a text file into lines, accepting CR LF and LF. nullopt when it cannot be opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file);
// Reads a file whose lines end only at CR LF (bare CR and LF stay inside a line).
std::optional<std::vector<std::string>> ReadCrLfLines(const std::filesystem::path& file);
// Reads the whole file as bytes.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);
// Writes lines each followed by CR LF, through a temporary file renamed over the target.
bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);
// Writes bytes through a temporary file renamed over the target.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);
// True when the file can be opened for reading.
bool FileExists(const std::filesystem::path& file);
// Copies a file, replacing the target. False on failure.
bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vorlan
