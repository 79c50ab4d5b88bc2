// Reading and writing the window size in the game's own settings file.
#include "platform/window_settings.h"

#include <charconv>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/folders.h"

namespace vorlan {

namespace {

constexpr int kMinSide = 100, kMaxSide = 16384;
constexpr std::string_view kWidth = "window_width=", kHeight = "window_height=";

// A side length after its key, in plain decimal within the limits; 0 when there is none.
int Side(std::string_view line, std::string_view key) {
  if (line.substr(0, key.size()) != key) return 0;
  line.remove_prefix(key.size());
  int v = 0;
  auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), v);
  if (ec != std::errc() || end != line.data() + line.size() || v < kMinSide || v > kMaxSide) return 0;
  return v;
}

}  // namespace

#ifdef _WIN32
// Beside the rest of the player's files.
std::filesystem::path ConfigFolder(const char*, const char*) { return PlayerFolder(nullptr, nullptr); }
#else
std::filesystem::path ConfigFolder(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome && xdgConfigHome[0] == '/') return std::filesystem::path(xdgConfigHome) / "vorlan";
  if (home && home[0] == '/') return std::filesystem::path(home) / ".config" / "vorlan";
  return {};
}
#endif

bool ReadWindowSize(const std::filesystem::path& file, int& w, int& h) {
  LineLimits limits;
  limits.maxBytes = 4096;
  limits.maxLines = 64;
  limits.maxLineLength = 256;
  auto lines = ReadLines(file, limits);
  if (!lines) return false;
  int width = 0, height = 0;
  for (const std::string& line : *lines) {
    if (int v = Side(line, kWidth)) width = v;
    if (int v = Side(line, kHeight)) height = v;
  }
  if (width == 0 || height == 0) return false;
  w = width;
  h = height;
  return true;
}

bool WriteWindowSize(const std::filesystem::path& file, int w, int h) {
  if (w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide) return false;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  return WriteWholeFile(
      file, std::string(kWidth) + std::to_string(w) + "\n" + std::string(kHeight) + std::to_string(h) + "\n");
}

}  // namespace vorlan
