#include "platform/window_settings.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/headless/headless_platform.h"

namespace vorlan {
namespace {

TEST(WindowSettings, SizeSurvivesARestartAndDamagedFilesAreIgnored) {
#ifdef _WIN32
  EXPECT_EQ(ConfigFolder("/cfg", "/home/p"), PlayerFolder(nullptr, nullptr));
#else
  EXPECT_EQ(ConfigFolder("/cfg", "/home/p"), std::filesystem::path("/cfg/vorlan"));
  EXPECT_EQ(ConfigFolder("cfg", "/home/p"), std::filesystem::path("/home/p/.config/vorlan"));
  EXPECT_TRUE(ConfigFolder(nullptr, nullptr).empty());
#endif

  HeadlessPlatform plat;
  const auto file = plat.DataDir() / "config" / "vorlan" / "settings.txt";
  int w = 1, h = 2;
  EXPECT_FALSE(ReadWindowSize(file, w, h));
  ASSERT_TRUE(WriteWindowSize(file, 700, 800));  // the folder is created
  ASSERT_TRUE(ReadWindowSize(file, w, h));
  EXPECT_EQ(std::pair(w, h), std::pair(700, 800));
  EXPECT_FALSE(WriteWindowSize(file, 0, 800));

  for (const char* damaged :
       {"window_width=700\n", "window_width=abc\nwindow_height=800\n",
        "window_width=-700\nwindow_height=800\n", "window_width=99999999999\nwindow_height=800\n",
        "window_width=700 \nwindow_height=8\n", "\x01\x02\xff"}) {
    SCOPED_TRACE(damaged);
    ASSERT_TRUE(WriteWholeFile(file, damaged));
    w = h = 1;
    EXPECT_FALSE(ReadWindowSize(file, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(1, 1));
  }
}

}  // namespace
}  // namespace vorlan
