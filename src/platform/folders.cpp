// The folder lookup: build folder or installed copy, and the player's folder under XDG_DATA_HOME.
#include "platform/folders.h"

#include <pwd.h>
#include <unistd.h>

namespace vorlan {

namespace {

namespace fs = std::filesystem;

bool HasContent(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir / "Pictures", ec) && fs::is_directory(dir / "OtherFiles", ec);
}

bool Writable(const fs::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

}  // namespace

fs::path PlayerFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return fs::path(xdgDataHome) / "vorlan";
  if (!home || home[0] != '/') {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : nullptr;
  }
  if (home && home[0] == '/') return fs::path(home) / ".local" / "share" / "vorlan";
  return {};
}

GameFolders SetUpGameFolders(const fs::path& exeFolder, const fs::path& player) {
  GameFolders f;
  std::error_code ec;
  fs::path installed = (exeFolder / ".." / "share" / "vorlan").lexically_normal();
  if (HasContent(exeFolder) && Writable(exeFolder)) {
    f.program = exeFolder;
    // Without a home the scores stay beside the program rather than in a shared folder.
    f.data = player.empty() ? exeFolder / "data" : player;
  } else if (HasContent(exeFolder) || HasContent(installed)) {
    f.content = HasContent(exeFolder) ? exeFolder : installed;
    f.program = player;
    f.data = player;
  } else {
    f.program = exeFolder;  // no content anywhere: the game reports what it cannot load
    f.data = player.empty() ? exeFolder / "data" : player;
  }
  if (!f.data.empty()) fs::create_directories(f.data, ec);
  if (f.content.empty() || f.program.empty()) return f;
  for (const char* sub : {"OtherFiles", "Pictures", "Upload"}) fs::create_directories(f.program / sub, ec);
  // The first start of an installed copy: the player's own settings and page template.
  for (const char* copy : kPlayerCopies) {
    if (!FileExists(f.program / copy)) CopyFileOver(f.content / copy, f.program / copy);
  }
  return f;
}

}  // namespace vorlan
