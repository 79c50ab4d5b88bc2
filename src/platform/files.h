// Files and paths of the game: the documented backslash paths ("\OtherFiles\Options.txt",
// "c:\Windows\AtopVo118.vor") resolved in one place, case-insensitively, and text files with CR LF.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

struct GameFolders {
  std::filesystem::path program;  // the game's own files: the executable's folder, or the player's
  std::filesystem::path data;     // stands in for "c:\Windows\"
  std::filesystem::path content;  // read-only pictures, sounds and data of an installed copy; empty
                                  // when they lie in program
};

// Shipped defaults that the game rewrites: an installed copy gives the player a copy of each, and
// they are never resolved into the read-only content.
inline constexpr const char* kPlayerCopies[] = {"OtherFiles/Options.txt", "OtherFiles/default.htm"};

// Resolves a documented path: "c:\Windows\..." (any case) goes under data, a path starting with a
// backslash goes under program, or under content when only content has that file (so the game
// writes only into program). Each component is matched without regard to case against what
// exists; components that do not exist keep the spelling given. Returns nullopt for paths that
// would leave the game's folders ("..", absolute names, drive letters other than c:\Windows).
std::optional<std::filesystem::path> ResolveGamePath(const GameFolders& f, std::string_view documented);

// Limits of a text read: bytes past maxBytes, lines past maxLines and characters past
// maxLineLength are left unread. Lines end at LF (a CR before it is dropped), or only at CR LF
// with crLfOnly (scrambled archives hold bare CR and LF inside their records).
struct LineLimits {
  size_t maxBytes = 256u << 20;
  size_t maxLines = SIZE_MAX;
  size_t maxLineLength = SIZE_MAX;
  bool crLfOnly = false;
};
// Reads a text file into lines within the limits. nullopt when it cannot be opened as a file.
std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file,
                                                  const LineLimits& limits = {});
// Reads the whole file as bytes; nullopt for files of more than 256 MiB.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// A file written under a temporary name beside its target and renamed over the target by Commit,
// so a crash or a failed write never leaves half a file in its place. Destroyed uncommitted, it
// removes the temporary file and the target stays as it was.
class AtomicFile {
 public:
  explicit AtomicFile(const std::filesystem::path& target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The stream to write to; nullptr when the temporary file could not be created.
  std::FILE* Stream() const { return stream_; }
  // Appends bytes; false (and the file spoilt) when they could not all be written.
  bool Write(std::string_view bytes);
  // Puts the complete file on disk and in the target's place. False when any write failed.
  bool Commit();

 private:
  std::filesystem::path target_, temp_;
  std::FILE* stream_ = nullptr;
  bool failed_ = false;
};

// Writes lines each followed by CR LF, replacing the file only when complete.
bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);
// Writes bytes, replacing the file only when complete.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);
// True when the file can be opened for reading.
bool FileExists(const std::filesystem::path& file);
// Copies a file, replacing the target. False on failure.
bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vorlan
