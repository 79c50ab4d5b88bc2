// The documented backslash paths mapped onto this machine's folders, and text files with CR LF
// lines written so that a crash never leaves half a file behind.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>

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

// The existing entry of dir whose name equals name without regard to case (an exact match
// wins); the name as given when there is none.
std::string MatchEntry(const std::filesystem::path& dir, const std::string& name) {
  std::error_code ec;
  if (std::filesystem::exists(dir / name, ec)) return name;
  std::filesystem::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (SameNoCase(entry, name)) return entry;
  }
  return name;
}

std::filesystem::path TempBeside(const std::filesystem::path& file) {
  static std::atomic<unsigned> counter{0};
  return file.parent_path() /
         (file.filename().string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

}  // namespace

std::optional<std::filesystem::path> ResolveGamePath(const GameFolders& f, std::string_view documented) {
  std::filesystem::path base;
  std::string_view rest;
  if (StartsNoCase(documented, "c:\\windows\\") || SameNoCase(documented, "c:\\windows")) {
    base = f.data;
    rest = documented.size() > 11 ? documented.substr(11) : std::string_view();
  } else if (!documented.empty() && (documented[0] == '\\' || documented[0] == '/')) {
    base = f.program;
    rest = documented.substr(1);
  } else {
    return std::nullopt;  // relative names, other drives and absolute names of this machine
  }
  if (base.empty()) return std::nullopt;
  std::filesystem::path out = base;
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
    out /= MatchEntry(out, std::string(part));
  }
  return out;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) return std::nullopt;
  std::string data;
  char buf[65536];
  // Game files are small; a runaway file is refused rather than read into all of memory.
  constexpr size_t kLimit = 256u << 20;
  while (in) {
    in.read(buf, sizeof buf);
    data.append(buf, static_cast<size_t>(in.gcount()));
    if (data.size() > kLimit) return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  return data;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file) {
  auto data = ReadWholeFile(file);
  if (!data) return std::nullopt;
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < data->size()) {
    size_t j = data->find('\n', i);
    if (j == std::string::npos) {
      lines.emplace_back(data->substr(i));
      break;
    }
    size_t end = j > i && (*data)[j - 1] == '\r' ? j - 1 : j;
    lines.emplace_back(data->substr(i, end - i));
    i = j + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadCrLfLines(const std::filesystem::path& file) {
  auto data = ReadWholeFile(file);
  if (!data) return std::nullopt;
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < data->size()) {
    size_t j = data->find("\r\n", i);
    if (j == std::string::npos) {
      lines.emplace_back(data->substr(i));
      break;
    }
    lines.emplace_back(data->substr(i, j - i));
    i = j + 2;
  }
  return lines;
}

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes) {
  if (file.empty() || !file.has_filename()) return false;
  auto tmp = TempBeside(file);
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      done += static_cast<size_t>(n);
  }
  // On disk before the rename, so the old file is replaced only by a complete new one.
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(tmp, file, ec);
    if (ec) ok = false;
  }
  if (!ok) std::filesystem::remove(tmp, ec);
  return ok;
}

bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string bytes;
  size_t n = 0;
  for (const auto& l : lines) n += l.size() + 2;
  bytes.reserve(n);
  for (const auto& l : lines) {
    bytes += l;
    bytes += "\r\n";
  }
  return WriteWholeFile(file, bytes);
}

bool FileExists(const std::filesystem::path& file) {
  std::error_code ec;
  if (file.empty() || std::filesystem::is_directory(file, ec)) return false;
  return ::access(file.c_str(), R_OK) == 0;
}

bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  auto data = ReadWholeFile(from);
  if (!data) return false;
  return WriteWholeFile(to, *data);
}

}  // namespace vorlan
