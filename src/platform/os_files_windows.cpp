// The file layer's system calls on Windows: wide paths throughout, so folder names outside the
// ANSI code page (a player called "Zoë") work.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/os_files.h"

namespace vorlan::os {

namespace {

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    default:
      return EIO;
  }
}

bool IsFolder(const std::filesystem::path& p) {
  DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int OpenRead(const std::filesystem::path& file) {
  int fd = ::_wopen(file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0 && IsFolder(file)) errno = EISDIR;  // Windows answers "no permission" for a folder
  return fd;
}

int CreateWrite(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int SyncToDisk(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }

int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to) {
  // The C runtime's rename refuses an existing target; this one replaces it.
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return ErrnoOf(GetLastError());
}

bool CanRead(const std::filesystem::path& file) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool CanWriteIn(const std::filesystem::path& folder) {
  // The folder's attributes say nothing of its access rights: try a file.
  static std::atomic<unsigned> counter{0};
  std::filesystem::path probe =
      folder / (L".write-probe" + std::to_wstring(ProcessId()) + L"-" + std::to_wstring(counter++));
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::FILE* OpenStream(const std::filesystem::path& file, const char* mode) {
  std::wstring wide(mode, mode + std::char_traits<char>::length(mode));
  return ::_wfopen(file.c_str(), wide.c_str());
}

std::string Utf8Path(const std::filesystem::path& file) {
  auto u8 = file.u8string();
  return std::string(u8.begin(), u8.end());
}

long ProcessId() { return static_cast<long>(GetCurrentProcessId()); }

bool ProcessRuns(long pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
  DWORD code = 0;
  bool runs = !GetExitCodeProcess(h, &code) || code == STILL_ACTIVE;
  CloseHandle(h);
  return runs;
}

}  // namespace vorlan::os
#endif
