#include "platform/headless_platform.h"

#include <gtest/gtest.h>

namespace vorlan {
namespace {

TEST(HeadlessPlatform, WaitPastTickMovesTheVirtualClockJustPast) {
  HeadlessPlatform p;
  uint32_t t = p.GetTickCount();
  p.WaitPastTick(t + 20);
  EXPECT_EQ(p.GetTickCount(), t + 21);
  p.WaitPastTick(t);  // already past: the clock stays
  EXPECT_EQ(p.GetTickCount(), t + 21);
  EXPECT_EQ(p.GetMicros(), uint64_t{t + 21} * 1000);
}

TEST(HeadlessPlatform, TemporaryFoldersExistAndAreRemoved) {
  std::filesystem::path program, data;
  {
    HeadlessPlatform p;
    program = p.ProgramFolder();
    data = p.DataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(program));
    EXPECT_TRUE(std::filesystem::is_directory(data));
    EXPECT_NE(program, data);
  }
  EXPECT_FALSE(std::filesystem::exists(program));
  EXPECT_FALSE(std::filesystem::exists(data));
}

}  // namespace
}  // namespace vorlan
