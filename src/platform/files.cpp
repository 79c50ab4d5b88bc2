// Game paths and text files (temporary bodies while the real ones land).
#include "platform/files.h"

namespace vorlan {

std::optional<std::filesystem::path> ResolveGamePath(const GameFolders&, std::string_view) { return std::nullopt; }
std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path&) { return std::nullopt; }
std::optional<std::vector<std::string>> ReadCrLfLines(const std::filesystem::path&) { return std::nullopt; }
std::optional<std::string> ReadWholeFile(const std::filesystem::path&) { return std::nullopt; }
bool WriteTextLines(const std::filesystem::path&, const std::vector<std::string>&) { return false; }
bool WriteWholeFile(const std::filesystem::path&, std::string_view) { return false; }
bool FileExists(const std::filesystem::path&) { return false; }
bool CopyFileOver(const std::filesystem::path&, const std::filesystem::path&) { return false; }

}  // namespace vorlan
