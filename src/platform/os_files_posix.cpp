// The file layer's system calls on POSIX systems.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/os_files.h"

namespace vorlan::os {

int OpenRead(const std::filesystem::path& file) { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC); }

int CreateWrite(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

int SyncToDisk(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool CanRead(const std::filesystem::path& file) { return ::access(file.c_str(), R_OK) == 0; }

bool CanWriteIn(const std::filesystem::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

std::FILE* OpenStream(const std::filesystem::path& file, const char* mode) {
  return std::fopen(file.c_str(), mode);
}

std::string Utf8Path(const std::filesystem::path& file) { return file.string(); }

long ProcessId() { return static_cast<long>(::getpid()); }

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH; }

}  // namespace vorlan::os
#endif
