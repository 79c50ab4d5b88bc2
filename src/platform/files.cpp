// The documented backslash paths mapped onto this machine's folders, and text files with CR LF
// lines written so that a crash never leaves half a file behind.
#include "platform/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "platform/os_files.h"

namespace vorlan {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool StartsNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameNoCase(s.substr(0, prefix.size()), prefix);
}

// A file name's bytes: as stored on POSIX systems, UTF-8 of the wide name on Windows.
std::string NameBytes(const std::filesystem::path& name) {
  auto u8 = name.u8string();
  return std::string(u8.begin(), u8.end());
}

// The existing entry of dir whose name equals name without regard to case (an exact match
// wins); the name as given when there is none.
std::filesystem::path MatchEntry(const std::filesystem::path& dir, const std::string& name) {
  std::error_code ec;
#ifndef _WIN32  // Windows finds any spelling: the entry's own comes from the listing
  if (std::filesystem::exists(dir / name, ec)) return name;
#endif
  std::filesystem::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (SameNoCase(NameBytes(it->path().filename()), name)) return it->path().filename();
  }
  return name;
}

// base followed by the parts, each matched against what exists there.
std::filesystem::path Walk(const std::filesystem::path& base, const std::vector<std::string>& parts) {
  std::filesystem::path out = base;
  for (const auto& part : parts) out /= MatchEntry(out, part);
  return out;
}

bool IsPlayerCopy(const std::vector<std::string>& parts) {
  std::string joined;
  for (const auto& part : parts) joined += (joined.empty() ? "" : "/") + part;
  for (const char* copy : kPlayerCopies)
    if (SameNoCase(joined, copy)) return true;
  return false;
}

std::filesystem::path TempBeside(const std::filesystem::path& file) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp = file;
  temp += ".tmp" + std::to_string(os::ProcessId()) + "-" + std::to_string(counter++);
  return temp;
}

}  // namespace

std::optional<std::filesystem::path> ResolveGamePath(const GameFolders& f, std::string_view documented) {
  std::filesystem::path base;
  std::string_view rest;
  bool inProgram = false;
  if (StartsNoCase(documented, "c:\\windows\\") || SameNoCase(documented, "c:\\windows")) {
    base = f.data;
    rest = documented.size() > 11 ? documented.substr(11) : std::string_view();
  } else if (!documented.empty() && (documented[0] == '\\' || documented[0] == '/')) {
    base = f.program;
    rest = documented.substr(1);
    inProgram = true;
  } else {
    return std::nullopt;  // relative names, other drives and absolute names of this machine
  }
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= rest.size()) {
    size_t j = rest.find_first_of("\\/", i);
    if (j == std::string_view::npos) j = rest.size();
    std::string_view part = rest.substr(i, j - i);
    i = j + 1;
    if (part.empty() || part == ".") continue;
    // ".." would climb out; a colon is a drive or stream name; NUL would cut the name short.
    if (part == ".." || part.find(':') != std::string_view::npos || part.find('\0') != std::string_view::npos)
      return std::nullopt;
    parts.emplace_back(part);
  }
  std::error_code ec;
  std::filesystem::path out = base.empty() ? base : Walk(base, parts);
  if (inProgram && !f.content.empty() && !IsPlayerCopy(parts) &&
      (out.empty() || !std::filesystem::exists(out, ec))) {
    std::filesystem::path shipped = Walk(f.content, parts);
    if (std::filesystem::exists(shipped, ec)) return shipped;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

namespace {

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

void SetError(std::error_code* out, int e) {
  if (out) *out = Errno(e);
}

// Reads at most maxBytes of the file; more tells whether the file goes on past them. With
// refuseLarger a file longer than maxBytes is refused before anything is read.
std::optional<std::string> ReadPrefix(const std::filesystem::path& file, size_t maxBytes, bool refuseLarger,
                                      bool& more, std::error_code* error) {
  if (int e = InjectedFileFaults().openRead; e && InjectedFileFaults().Hit(file)) {
    SetError(error, e);
    return std::nullopt;
  }
  int fd = os::OpenRead(file);
  if (fd < 0) {
    SetError(error, errno);
    return std::nullopt;
  }
  struct stat st {};
  int fail = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (!fail && refuseLarger && S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > maxBytes)
    fail = EFBIG;
  std::string data;
  char buf[65536];
  while (!fail && data.size() < maxBytes) {
    ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes - data.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail = errno;
    if (n <= 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  more = false;
  if (!fail && data.size() >= maxBytes) {
    // A file that grew past the limit after the size check, or one without a size (a pipe).
    ssize_t n = ::read(fd, buf, 1);
    more = n > 0;
    if (more && refuseLarger) fail = EFBIG;
  }
  ::close(fd);
  if (fail) {
    SetError(error, fail);
    return std::nullopt;
  }
  return data;
}

}  // namespace

FileFaults& InjectedFileFaults() {
  static FileFaults faults;
  return faults;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::error_code* error) {
  // Game files are small; a runaway file is refused rather than read into all of memory.
  bool more = false;
  return ReadPrefix(file, 256u << 20, true, more, error);
}

bool KeepDamaged(const std::filesystem::path& file) {
  constexpr int kKept = 10;
  std::error_code ec;
  std::filesystem::path kept;
  for (int n = 1; n <= kKept; ++n) {
    kept = file;
    kept += n == 1 ? std::string(".damaged") : ".damaged." + std::to_string(n);
    if (!std::filesystem::exists(kept, ec) && !ec) break;
  }
  return os::ReplaceWith(file, kept) == 0;  // with all ten taken, the tenth is replaced
}

std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file, const LineLimits& limits,
                                                  std::error_code* error) {
  bool more = false;
  auto data = ReadPrefix(file, limits.maxBytes, limits.refuseLarger, more, error);
  if (!data) return std::nullopt;
  const std::string_view end = limits.crLfOnly ? "\r\n" : "\n";
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < data->size() && lines.size() < limits.maxLines) {
    size_t j = data->find(end, i);
    size_t next = j == std::string::npos ? data->size() : j + end.size();
    if (j == std::string::npos && limits.dropUnfinished) break;
    if (j == std::string::npos)
      j = data->size();
    else if (!limits.crLfOnly && j > i && (*data)[j - 1] == '\r')
      --j;
    lines.emplace_back(data->substr(i, std::min(j - i, limits.maxLineLength)));
    i = next;
  }
  return lines;
}

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target) {
  if (target.empty() || !target.has_filename()) {
    Fail(ENOENT);
    return;
  }
  temp_ = TempBeside(target);
  if (int e = InjectedFileFaults().openWrite; e && InjectedFileFaults().Hit(target)) {
    Fail(e);
    return;
  }
  int fd = os::CreateWrite(temp_);
  if (fd < 0) {
    Fail(errno);
    return;
  }
  stream_ = ::fdopen(fd, "wb");
  if (!stream_) {
    Fail(errno);
    ::close(fd);
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
  }
}

AtomicFile::~AtomicFile() {
  if (!stream_) return;
  std::fclose(stream_);
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
}

void AtomicFile::Fail(int err) {
  if (!error_) error_ = Errno(err ? err : EIO);
}

bool AtomicFile::Write(std::string_view bytes) {
  if (!stream_ || error_) {
    Fail(EBADF);
    return false;
  }
  FileFaults& faults = InjectedFileFaults();
  const bool limited = faults.writeLimit >= 0 && faults.Hit(target_);
  size_t n = bytes.size();
  if (limited && static_cast<unsigned long long>(faults.writeLimit) < n)
    n = static_cast<size_t>(faults.writeLimit);
  size_t done = std::fwrite(bytes.data(), 1, n, stream_);
  written_ += done;
  if (limited) faults.writeLimit -= static_cast<long long>(done);
  if (done != n)
    Fail(errno);
  else if (n != bytes.size())
    Fail(faults.writeError);
  return !error_;
}

bool AtomicFile::Commit() {
  if (!stream_) {
    Fail(EBADF);
    return false;
  }
  // On disk before the rename, so the old file is replaced only by a complete new one. A full
  // disk often shows only here, when the buffered bytes reach it.
  if (!error_ && (std::ferror(stream_) || std::fflush(stream_) != 0))
    Fail(errno);
  else if (int e = error_ ? 0 : os::SyncToDisk(fileno(stream_)))
    Fail(e);
  if (std::fclose(stream_) != 0) Fail(errno);
  stream_ = nullptr;
  if (!error_) {
    if (int e = InjectedFileFaults().rename; e && InjectedFileFaults().Hit(target_))
      Fail(e);
    else if (int e = os::ReplaceWith(temp_, target_))
      Fail(e);
  }
  std::error_code ec;
  if (error_) std::filesystem::remove(temp_, ec);
  return !error_;
}

namespace {
bool Report(const AtomicFile& out, bool ok, std::error_code* error) {
  if (!ok && error) *error = out.Error();
  return ok;
}
}  // namespace

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes, std::error_code* error) {
  AtomicFile out(file);
  bool ok = out.Write(bytes);
  return Report(out, out.Commit() && ok, error);
}

bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::error_code* error) {
  AtomicFile out(file);
  for (const auto& l : lines) {
    out.Write(l);
    out.Write("\r\n");
  }
  return Report(out, out.Commit(), error);
}

bool FileExists(const std::filesystem::path& file) {
  std::error_code ec;
  if (file.empty() || std::filesystem::is_directory(file, ec)) return false;
  return os::CanRead(file);
}

bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code* error) {
  auto data = ReadWholeFile(from, error);
  if (!data) return false;
  return WriteWholeFile(to, *data, error);
}

int RemoveStaleTempFiles(const std::filesystem::path& folder) {
  int removed = 0;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = NameBytes(it->path().filename());
    // "<name>.tmp<pid>-<n>", as TempBeside makes them: nothing else is touched.
    size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos || tmp == 0) continue;
    size_t dash = name.find('-', tmp + 4);
    auto digits = [&](size_t from, size_t to) {
      return to > from &&
             std::all_of(name.begin() + from, name.begin() + to, [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string::npos || !digits(tmp + 4, dash) || !digits(dash + 1, name.size()) ||
        dash - tmp > 14)
      continue;
    long pid = std::stol(name.substr(tmp + 4, dash - tmp - 4));
    // A live process (another running game) may still be writing it; EPERM means it lives too.
    if (pid <= 0 || pid == os::ProcessId() || os::ProcessRuns(pid)) continue;
    std::error_code rm;
    if (it->is_regular_file(rm) && std::filesystem::remove(it->path(), rm)) ++removed;
  }
  return removed;
}

}  // namespace vorlan
