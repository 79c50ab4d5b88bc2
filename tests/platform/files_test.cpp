#include "platform/files.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/os_files.h"
#include "support/test_game.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  HeadlessPlatform plat;
  GameFolders f{plat.ProgramDir(), plat.DataDir(), {}};
  fs::path Program() const { return plat.ProgramDir(); }

  std::string Bytes(const fs::path& p) { return ReadWholeFile(p).value_or("<missing>"); }
  static long FilesIn(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); }
};

TEST_F(FilesTest, DocumentedPathsResolveIntoTheGameFoldersWithoutRegardToCase) {
  fs::create_directories(Program() / "OtherFiles");
  fs::create_directories(Program() / "Upload");
  WriteWholeFile(Program() / "OtherFiles" / "Options.txt", "x");
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\Options.txt"), Program() / "OtherFiles" / "Options.txt");
  EXPECT_EQ(ResolveGamePath(f, "\\otherfiles\\OPTIONS.TXT"), Program() / "OtherFiles" / "Options.txt");
  // "upload" and "Upload" are one folder; a new file keeps the spelling it was given.
  EXPECT_EQ(ResolveGamePath(f, "\\upload\\Pic 3.jpg"), Program() / "Upload" / "Pic 3.jpg");
  EXPECT_EQ(ResolveGamePath(f, "\\Vorlan Pic1.jpg"), Program() / "Vorlan Pic1.jpg");
  EXPECT_EQ(ResolveGamePath(f, "c:\\Windows\\AtopVo118.vor"), plat.DataDir() / "AtopVo118.vor");
  EXPECT_EQ(ResolveGamePath(f, "C:\\WINDOWS\\AtopwCopy.vor"), plat.DataDir() / "AtopwCopy.vor");
  // Doubled separators are harmless.
  EXPECT_EQ(ResolveGamePath(f, "\\OtherFiles\\\\Options.txt"), Program() / "OtherFiles" / "Options.txt");
}

TEST_F(FilesTest, PathsThatWouldLeaveTheGameFoldersAreRefused) {
  for (const char* bad : {"\\..\\etc\\passwd", "\\OtherFiles\\..\\..\\x", "c:\\Windows\\..\\boot.ini",
                          "d:\\Windows\\x", "c:\\Users\\x", "/etc/passwd\\..", "OtherFiles\\Options.txt", "",
                          "\\OtherFiles\\a:b", "c:\\Windows\\..", "\\x\\..\\..\\.."}) {
    EXPECT_EQ(ResolveGamePath(f, bad), std::nullopt) << bad;
  }
  // A leading slash is the program folder, not the machine's root.
  EXPECT_EQ(ResolveGamePath(f, "/etc/passwd"), Program() / "etc" / "passwd");
}

TEST_F(FilesTest, TextLinesAreWrittenWithCrLfAndReadBackEitherWay) {
  auto file = Program() / "Options.txt";
  ASSERT_TRUE(WriteTextLines(file, {" 8 ", "-1 ", "", "end"}));
  EXPECT_EQ(Bytes(file), " 8 \r\n-1 \r\n\r\nend\r\n");
  EXPECT_EQ(ReadLines(file), (std::vector<std::string>{" 8 ", "-1 ", "", "end"}));
  // Plain readers take LF files and a last line without an ending too.
  WriteWholeFile(file, "a\nb\r\nc");
  EXPECT_EQ(ReadLines(file), (std::vector<std::string>{"a", "b", "c"}));
  // Records may hold bare line feeds and returns: only CR LF ends one.
  WriteWholeFile(file, "name\nwith\rbytes\r\nsecond\r\n\r\nlast");
  EXPECT_EQ(ReadLines(file, {.crLfOnly = true}),
            (std::vector<std::string>{"name\nwith\rbytes", "second", "", "last"}));
  WriteWholeFile(file, "x\r");
  EXPECT_EQ(ReadLines(file, {.crLfOnly = true}), std::vector<std::string>{"x\r"});
  // Limits leave the rest unread: bytes first, then lines and their length.
  WriteWholeFile(file, "first line\r\nsecond\r\nthird");
  EXPECT_EQ(ReadLines(file, {.maxBytes = 15}), (std::vector<std::string>{"first line", "sec"}));
  EXPECT_EQ(ReadLines(file, {.maxLines = 2, .maxLineLength = 5}),
            (std::vector<std::string>{"first", "secon"}));
}

TEST_F(FilesTest, WritesAndCopiesReplaceWholeFilesAndLeaveNoTemporaryFiles) {
  auto file = Program() / "list.txt";
  ASSERT_TRUE(WriteWholeFile(file, "old contents"));
  ASSERT_TRUE(WriteTextLines(file, {"new"}));
  EXPECT_EQ(Bytes(file), "new\r\n");
  EXPECT_EQ(FilesIn(Program()), 1);
  EXPECT_FALSE(WriteWholeFile(Program() / "no such folder" / "f.txt", "x"));
  EXPECT_FALSE(WriteWholeFile(Program(), "x"));  // a folder cannot be replaced by a file
  EXPECT_TRUE(fs::is_directory(Program()));
  EXPECT_EQ(FilesIn(Program()), 1);
  {
    AtomicFile abandoned(file);  // a writer that fails before committing
    ASSERT_TRUE(abandoned.Write("half"));
  }
  EXPECT_EQ(Bytes(file), "new\r\n");
  EXPECT_EQ(FilesIn(Program()), 1);
  // A copy replaces the target whole, a failed one leaves it alone.
  auto a = Program() / "a.vor", b = Program() / "b.vor";
  WriteWholeFile(a, std::string("\0\x01\r\n\xFF", 5));
  WriteWholeFile(b, "older and longer");
  EXPECT_TRUE(CopyFileOver(a, b));
  EXPECT_EQ(Bytes(b), std::string("\0\x01\r\n\xFF", 5));
  EXPECT_FALSE(CopyFileOver(Program() / "none", b));
  EXPECT_EQ(Bytes(b), std::string("\0\x01\r\n\xFF", 5));
  EXPECT_TRUE(FileExists(a));
  for (const fs::path& p : {Program() / "none", Program(), fs::path()}) EXPECT_FALSE(FileExists(p)) << p;
}

TEST_F(FilesTest, AFailedWriteKeepsTheOldFileLeavesNothingBehindAndSaysWhy) {
  auto file = Program() / "Options.txt";
  ASSERT_TRUE(WriteWholeFile(file, "old"));
  const std::vector<std::string> lines = {"first", "second line"};
  struct Case {
    FileFaults faults;
    int reason;
  };
  std::vector<Case> cases = {
      {{.openWrite = EACCES}, EACCES}, {{.openWrite = EROFS}, EROFS}, {{.rename = EIO}, EIO}};
  // A disk that fills up at any byte of the file.
  for (long long at = 0; at < 20; ++at) cases.push_back({{.writeLimit = at}, ENOSPC});
  for (const Case& c : cases) {
    InjectedFileFaults() = c.faults;
    std::error_code why;
    EXPECT_FALSE(WriteTextLines(file, lines, &why)) << why.message();
    InjectedFileFaults() = {};
    EXPECT_EQ(why.value(), c.reason);
    EXPECT_EQ(Bytes(file), "old");
    EXPECT_EQ(FilesIn(Program()), 1);
  }
  InjectedFileFaults() = {.writeLimit = 20};  // just enough
  EXPECT_TRUE(WriteTextLines(file, lines));
  InjectedFileFaults() = {};
  // A real folder without write permission (root may write anyway).
  fs::create_directories(Program() / "locked");
  fs::permissions(Program() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  std::error_code why;
  if (!WriteWholeFile(Program() / "locked" / "f.txt", "x", &why)) {
    EXPECT_EQ(why.value(), EACCES);
  }
  fs::permissions(Program() / "locked", fs::perms::owner_all);
}

TEST_F(FilesTest, ReadsTellMissingFromUnreadableAndRefuseOversizedFilesUnread) {
  auto file = Program() / "Options.txt";
  std::error_code why;
  EXPECT_EQ(ReadLines(file, {}, &why), std::nullopt);
  EXPECT_EQ(why.value(), ENOENT);
  EXPECT_EQ(ReadLines(Program(), {}, &why), std::nullopt);
  EXPECT_EQ(why.value(), EISDIR);
  WriteWholeFile(file, std::string(5000, '7'));
  EXPECT_EQ(ReadLines(file, {.maxBytes = 4999, .refuseLarger = true}, &why), std::nullopt);
  EXPECT_EQ(why.value(), EFBIG);
  EXPECT_EQ(ReadLines(file, {.maxBytes = 5000, .refuseLarger = true})->size(), 1u);
  InjectedFileFaults() = {.openRead = EIO};
  EXPECT_EQ(ReadLines(file, {}, &why), std::nullopt);
  InjectedFileFaults() = {};
  EXPECT_EQ(why.value(), EIO);
}

// A player's folder may be named outside ASCII (wide paths on Windows), and a save replaces the
// file it finds there (the C runtime's rename on Windows would refuse).
TEST_F(FilesTest, FilesInAFolderNamedOutsideAsciiAreWrittenReplacedAndRead) {
  const fs::path folder = Program() / fs::path(u8"Zo\u00eb");
  fs::create_directories(folder);
  ASSERT_TRUE(WriteWholeFile(folder / "Options.txt", "first"));
  ASSERT_TRUE(WriteTextLines(folder / "Options.txt", {"second"}));
  EXPECT_TRUE(FileExists(folder / "Options.txt"));
  EXPECT_EQ(Bytes(folder / "Options.txt"), "second\r\n");
  EXPECT_EQ(FilesIn(folder), 1);
  GameFolders zoe{folder, folder, {}};
  EXPECT_EQ(ResolveGamePath(zoe, "\\Options.txt"), folder / "Options.txt");
}

TEST_F(FilesTest, StaleTemporaryFilesOfEndedProcessesAreRemovedAndNothingElse) {
  const long ended = testing::EndedProcessId();
  ASSERT_GT(ended, 0);
  const std::string gone = std::to_string(ended), alive = std::to_string(testing::ParentProcessId());
  const std::vector<std::string> stale = {"Options.txt.tmp" + gone + "-0",
                                          "AtopVo118.vor.tmp" + gone + "-12"};
  const std::vector<std::string> kept = {"Options.txt",
                                         "Options.txt.tmp" + alive + "-3",  // another live process's
                                         "Options.txt.tmp" + std::to_string(os::ProcessId()) + "-1",
                                         "notes.tmp" + gone,
                                         "notes.tmp" + gone + "-x",
                                         "a.tmp-" + gone + "-1",
                                         ".tmp" + gone + "-1"};
  for (const auto& n : stale) WriteWholeFile(Program() / n, "x");
  for (const auto& n : kept) WriteWholeFile(Program() / n, "x");
  EXPECT_EQ(RemoveStaleTempFiles(Program()), 2);
  for (const auto& n : stale) EXPECT_FALSE(fs::exists(Program() / n)) << n;
  for (const auto& n : kept) EXPECT_TRUE(fs::exists(Program() / n)) << n;
  EXPECT_EQ(RemoveStaleTempFiles(Program() / "missing"), 0);
}

}  // namespace
}  // namespace vorlan
