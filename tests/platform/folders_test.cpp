#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include "platform/headless/headless_platform.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
TEST(PlayerFolder, IsVorlanInTheRoamingApplicationData) {
  const fs::path folder = PlayerFolder("/x/data", "/home/p");
  EXPECT_EQ(folder, fs::path(_wgetenv(L"APPDATA")) / L"Vorlan");
  EXPECT_TRUE(folder.is_absolute()) << folder;
}
#else
TEST(PlayerFolder, FollowsXdgDataHomeThenHome) {
  EXPECT_EQ(PlayerFolder("/x/data", "/home/p"), fs::path("/x/data/vorlan"));
  // Relative or empty settings do not count.
  for (const char* xdg : {"rel/data", "", static_cast<const char*>(nullptr)})
    EXPECT_EQ(PlayerFolder(xdg, "/home/p"), fs::path("/home/p/.local/share/vorlan")) << (xdg ? xdg : "unset");
  // No usable HOME: the account's home from the password database.
  fs::path fallback = PlayerFolder(nullptr, "relative");
  EXPECT_TRUE(fallback.empty() || (fallback.is_absolute() && fallback.filename() == "vorlan")) << fallback;
}
#endif

class InstalledLayout : public ::testing::Test {
 protected:
  HeadlessPlatform scratch;  // owns the temporary folder
  fs::path root = scratch.ProgramDir();
  fs::path prefix = root / "usr";
  fs::path shared = prefix / "share" / "vorlan";
  fs::path player = root / "home" / ".local" / "share" / "vorlan";

  void SetUp() override {
    for (const char* dir : {"Pictures", "Sounds", "OtherFiles"}) fs::create_directories(shared / dir);
    fs::create_directories(prefix / "bin");
    WriteWholeFile(shared / "Pictures" / "Logo.jpg", "logo");
    WriteWholeFile(shared / "OtherFiles" / "Options.txt", "defaults");
    WriteWholeFile(shared / "OtherFiles" / "default.htm", "template");
    WriteWholeFile(shared / "OtherFiles" / "Temp.txt", "table");
  }
};

TEST_F(InstalledLayout, ContentIsReadFromTheShareFolderAndEverythingWrittenGoesToThePlayer) {
  GameFolders f = SetUpGameFolders(prefix / "bin", player);
  EXPECT_EQ(std::tuple(f.content, f.program, f.data), std::tuple(shared, player, player));
  // The first start gives the player the defaults the game rewrites, and the folders it writes to.
  EXPECT_EQ(ReadWholeFile(player / "OtherFiles" / "Options.txt"), "defaults");
  EXPECT_EQ(ReadWholeFile(player / "OtherFiles" / "default.htm"), "template");
  EXPECT_TRUE(fs::is_directory(player / "Pictures"));
  EXPECT_TRUE(fs::is_directory(player / "Upload"));

  // Shipped files are read where they are; the player's copies and new files are the player's.
  EXPECT_EQ(ResolveGamePath(f, "\\pictures\\LOGO.jpg"), shared / "Pictures" / "Logo.jpg");
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Temp.txt"), shared / "OtherFiles" / "Temp.txt");
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Options.txt"), player / "OtherFiles" / "Options.txt");
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Default.htm"), player / "OtherFiles" / "default.htm");
  EXPECT_EQ(ResolveGamePath(f, "\\Pictures\\Map01.bmp"), player / "Pictures" / "Map01.bmp");
  EXPECT_EQ(ResolveGamePath(f, "c:\\Windows\\AtopVo118.vor"), player / "AtopVo118.vor");

  // A player's copy lost later is not looked for in the content: the game must not write there.
  fs::remove(player / "OtherFiles" / "Options.txt");
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Options.txt"), player / "OtherFiles" / "Options.txt");
  // The next start copies the defaults in again, but never over the player's own settings.
  WriteWholeFile(player / "OtherFiles" / "default.htm", "downloaded");
  SetUpGameFolders(prefix / "bin", player);
  EXPECT_EQ(ReadWholeFile(player / "OtherFiles" / "Options.txt"), "defaults");
  EXPECT_EQ(ReadWholeFile(player / "OtherFiles" / "default.htm"), "downloaded");
}

TEST_F(InstalledLayout, ABuildFolderKeepsItsFilesBesideTheExecutableUnlessItIsReadOnly) {
  GameFolders f = SetUpGameFolders(shared, player);
  EXPECT_EQ(std::tuple(f.content, f.program, f.data), std::tuple(fs::path(), shared, player));
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Options.txt"), shared / "OtherFiles" / "Options.txt");
  EXPECT_FALSE(fs::exists(player / "OtherFiles"));

  // No home at all: nothing to write into, but the content is still read.
  GameFolders none{{}, {}, shared};
  EXPECT_EQ(ResolveGamePath(none, "\\Pictures\\Logo.jpg"), shared / "Pictures" / "Logo.jpg");
  EXPECT_EQ(ResolveGamePath(none, "\\OtherFiles\\Options.txt"), std::nullopt);
  EXPECT_EQ(ResolveGamePath(none, "c:\\Windows\\AtopVo118.vor"), std::nullopt);

#ifdef _WIN32
  // An installed copy (its uninstaller beside it) is read-only even where it could be written.
  ASSERT_TRUE(WriteWholeFile(shared / "Uninstall.exe", ""));
  f = SetUpGameFolders(shared, player);
  EXPECT_EQ(std::pair(f.content, f.program), std::pair(shared, player));
#else
  // Root writes anywhere, so only a folder the account cannot write shows the read-only case.
  if (geteuid() == 0) return;
  ASSERT_EQ(chmod(shared.c_str(), 0555), 0);
  f = SetUpGameFolders(shared, player);
  chmod(shared.c_str(), 0755);
  EXPECT_EQ(std::pair(f.content, f.program), std::pair(shared, player));
#endif
}

}  // namespace
}  // namespace vorlan
