#include "text.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlan {
namespace {

TEST(Text, BlanksColumnsAndFields) {
  EXPECT_EQ(Trimmed("  Anna Lee  "), "Anna Lee");
  EXPECT_EQ(Trimmed("\tx "), "\tx");  // only blanks
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Columns("abcdef", 2, 4), "bcd");
  EXPECT_EQ(Columns("abc", 2, 9), "bc");  // a short line gives what it has
  EXPECT_EQ(Columns("abc", 4, 9), "");
  EXPECT_EQ(PadRight("12345", 3), "12345");  // never cuts
}

TEST(Text, NamesTakeTheCaseOfTheCodePage) {
  EXPECT_EQ(NameCase("jOHN"), "John");
  EXPECT_EQ(NameCase("\xE9MILE \xC9"), "\xC9mile \xE9");  // accented letters too
  EXPECT_EQ(NameCase("\x9A\x8A\xFF"), "\x8A\x9A\xFF");
  EXPECT_EQ(NameCase(""), "");
}

TEST(CodePage, Windows1252AndUtf8ConvertBothWays) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\xE9"), "\xC3\xA9");      // e acute
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "?");             // no character in the code page
  std::string back = Utf8ToCp1252(utf8);
  for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) all[b - 1] = '?';
  EXPECT_EQ(back, all);
  // Characters outside the code page and damaged sequences become '?', never lost bytes.
  EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\x80"
                         "b"),
            "a?b");                                // CJK
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");       // overlong '/'
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // surrogate
}

}  // namespace
}  // namespace vorlan
