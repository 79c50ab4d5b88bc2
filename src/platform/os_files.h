// The few calls of the file layer that differ between POSIX systems and Windows: opening by a
// path (wide on Windows), putting a finished file over its target, flushing to disk, and
// whether a process still runs. Errors are errno values.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace vorlan::os {

// A descriptor to read; -1 with errno set (EISDIR for a folder).
int OpenRead(const std::filesystem::path& file);
// A new or emptied file to write, not inherited by child processes; -1 with errno set.
int CreateWrite(const std::filesystem::path& file);
// Puts the descriptor's data on disk; 0 or an errno value.
int SyncToDisk(int fd);
// Renames from over to, replacing an existing to in one step; 0 or an errno value.
int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to);
// True when the file can be opened for reading.
bool CanRead(const std::filesystem::path& file);
// True when files can be created in the folder.
bool CanWriteIn(const std::filesystem::path& folder);
// A stdio stream on the file (fopen's modes).
std::FILE* OpenStream(const std::filesystem::path& file, const char* mode);
// The path as the libraries that take UTF-8 names want it (SDL): its bytes on POSIX systems.
std::string Utf8Path(const std::filesystem::path& file);
long ProcessId();
// False only when no process with the id runs (one that runs but is not ours counts as running).
bool ProcessRuns(long pid);

}  // namespace vorlan::os
