// The folder lookup: build folder or installed copy, and the player's folder under XDG_DATA_HOME
// (%APPDATA% on Windows).
#include "platform/folders.h"

#ifdef _WIN32
// windows.h must come first
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <cstdlib>

#include "platform/os_files.h"

namespace vorlan {

namespace {

namespace fs = std::filesystem;

bool HasContent(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir / "Pictures", ec) && fs::is_directory(dir / "OtherFiles", ec);
}

#ifdef _WIN32
// An installed copy (its uninstaller lies beside it) writes only into the player's folder, even
// for an administrator who could write into Program Files.
bool Writable(const fs::path& dir) {
  std::error_code ec;
  return !fs::exists(dir / "Uninstall.exe", ec) && os::CanWriteIn(dir);
}
#else
bool Writable(const fs::path& dir) { return os::CanWriteIn(dir); }
#endif

}  // namespace

#ifdef _WIN32
fs::path PlayerFolder(const char*, const char*) {
  PWSTR roaming = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming)) && roaming)
    folder = fs::path(roaming) / L"Vorlan";
  CoTaskMemFree(roaming);
  if (folder.empty()) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData && *appData) folder = fs::path(appData) / L"Vorlan";
  }
  return folder;
}
#else
fs::path PlayerFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return fs::path(xdgDataHome) / "vorlan";
  if (!home || home[0] != '/') {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : nullptr;
  }
  if (home && home[0] == '/') return fs::path(home) / ".local" / "share" / "vorlan";
  return {};
}
#endif

fs::path ThisPlayersFolder() { return PlayerFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

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
