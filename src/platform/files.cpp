// The documented backslash paths mapped onto this machine's folders, and text files with CR LF
// lines written so that a crash never leaves half a file behind.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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
  return file.parent_path() /
         (file.filename().string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++));
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

// Reads at most maxBytes of the file; more tells whether the file goes on past them.
std::optional<std::string> ReadPrefix(const std::filesystem::path& file, size_t maxBytes, bool& more) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) return std::nullopt;
  std::string data;
  char buf[65536];
  while (in && data.size() < maxBytes) {
    in.read(buf, static_cast<std::streamsize>(std::min(sizeof buf, maxBytes - data.size())));
    data.append(buf, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  more = in && in.peek() != std::char_traits<char>::eof();
  return data;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  // Game files are small; a runaway file is refused rather than read into all of memory.
  bool more = false;
  auto data = ReadPrefix(file, 256u << 20, more);
  if (more) return std::nullopt;
  return data;
}

std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file,
                                                  const LineLimits& limits) {
  bool more = false;
  auto data = ReadPrefix(file, limits.maxBytes, more);
  if (!data) return std::nullopt;
  const std::string_view end = limits.crLfOnly ? "\r\n" : "\n";
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < data->size() && lines.size() < limits.maxLines) {
    size_t j = data->find(end, i);
    size_t next = j == std::string::npos ? data->size() : j + end.size();
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
  if (target.empty() || !target.has_filename()) return;
  temp_ = TempBeside(target);
  int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  stream_ = ::fdopen(fd, "wb");
  if (!stream_) ::close(fd);
}

AtomicFile::~AtomicFile() {
  if (!stream_) return;
  std::fclose(stream_);
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
}

bool AtomicFile::Write(std::string_view bytes) {
  if (!stream_ || std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) failed_ = true;
  return !failed_;
}

bool AtomicFile::Commit() {
  if (!stream_) return false;
  // On disk before the rename, so the old file is replaced only by a complete new one.
  bool ok = !failed_ && !std::ferror(stream_) && std::fflush(stream_) == 0 && ::fsync(fileno(stream_)) == 0;
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(temp_, target_, ec);
    if (ec) ok = false;
  }
  if (!ok) std::filesystem::remove(temp_, ec);
  return ok;
}

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes) {
  AtomicFile out(file);
  return out.Write(bytes) && out.Commit();
}

bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  AtomicFile out(file);
  for (const auto& l : lines) {
    out.Write(l);
    out.Write("\r\n");
  }
  return out.Commit();
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
