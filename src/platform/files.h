// Files and paths of the game: the documented backslash paths ("\OtherFiles\Options.txt",
// "c:\Windows\AtopVo118.vor") resolved in one place, case-insensitively, and text files with CR LF.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
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
// With refuseLarger a file of more than maxBytes is refused unread (no valid file is that large).
// With dropUnfinished a last line without its line end (a file cut short) is left out.
struct LineLimits {
  size_t maxBytes = 256u << 20;
  size_t maxLines = SIZE_MAX;
  size_t maxLineLength = SIZE_MAX;
  bool crLfOnly = false;
  bool refuseLarger = false;
  bool dropUnfinished = false;
};
// Reads a text file into lines within the limits. nullopt when it cannot be opened as a file,
// with the reason in *error when given: no such file, no permission, I/O error, a folder (EISDIR)
// or too large (EFBIG).
std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file,
                                                  const LineLimits& limits = {},
                                                  std::error_code* error = nullptr);
// Reads the whole file as bytes; nullopt for files of more than 256 MiB.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::error_code* error = nullptr);

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
  // Why the file could not be written (the first failure); empty while all went well.
  std::error_code Error() const { return error_; }

 private:
  void Fail(int err);
  std::filesystem::path target_, temp_;
  std::FILE* stream_ = nullptr;
  std::error_code error_;
  unsigned long long written_ = 0;
};

// Writes lines each followed by CR LF, replacing the file only when complete. On failure the
// reason goes to *error when given.
bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::error_code* error = nullptr);
// Writes bytes, replacing the file only when complete.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes,
                    std::error_code* error = nullptr);
// True when the file can be opened for reading.
bool FileExists(const std::filesystem::path& file);
// Copies a file, replacing the target. False on failure.
bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code* error = nullptr);

// Moves a damaged file aside as "<name>.damaged", ".damaged.2", ... up to ".damaged.10"; once all
// are taken the newest replaces ".damaged.10", so the oldest and the newest are kept. False
// when it could not be moved (then it must not be written over).
bool KeepDamaged(const std::filesystem::path& file);
// Removes what writes cut short by a kill left in folder: the game's temporary files
// ("<name>.tmp<pid>-<n>") whose process no longer runs. Returns how many were removed.
int RemoveStaleTempFiles(const std::filesystem::path& folder);

// Faults the file layer meets as a failing disk would, for tests: errno values, 0 for none.
struct FileFaults {
  int openRead = 0;           // opening a file to read it
  int openWrite = 0;          // creating the temporary file of a write
  long long writeLimit = -1;  // bytes all writes may still put down; then they fail with writeError
  int writeError = ENOSPC;
  int rename = 0;                   // putting a finished file in its target's place
  std::filesystem::path only = {};  // the one file they hit; empty: every file
  bool Hit(const std::filesystem::path& file) const { return only.empty() || file == only; }
};
// The faults in force for this process (none at first); tests set them and reset them to {}.
FileFaults& InjectedFileFaults();

}  // namespace vorlan
