#include "numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace vorlan {
namespace {

TEST(Numbers, RoundingHalvesToEvenAndSaturatingInsteadOfWrapping) {
  for (auto [x, want] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-0.5, 0.0}, {-1.5, -2.0}, {-2.5, -2.0},
                         {1e15 + 0.5, 1e15}})
    EXPECT_EQ(Nearest(x), want) << x;
  EXPECT_EQ(Nearest16(40000.4), 32767);
  EXPECT_EQ(Nearest16(-32768.5), -32768);
  EXPECT_EQ(Nearest16(std::nan("")), 0);
  EXPECT_EQ(Sat16(32767LL + 1), 32767);
  EXPECT_EQ(Sat16(-32768LL - 1), -32768);
  EXPECT_EQ(Sat16(1e300), 32767);
  EXPECT_EQ(Sat16(-std::numeric_limits<double>::infinity()), -32768);
  EXPECT_EQ(Sat32(5e9), 2147483647);
  EXPECT_EQ(Sat32(-5e9), -2147483647 - 1);
}

TEST(Numbers, NumReadsTheNumberAtTheStartOfAText) {
  const double big = std::numeric_limits<double>::max();
  for (auto [text, want] : {std::pair<std::string, double>{"  12.5xyz", 12.5}, {"-7", -7}, {".25", 0.25},
                            {"-.5", -0.5}, {"1e3", 1000}, {"2e", 2}, {"abc", 0}, {"-", 0}, {"1,5", 1},
                            {"1e999", big}, {std::string(5000, '9'), big}})
    EXPECT_EQ(Num(text), want) << text.substr(0, 12);
}

TEST(Numbers, TextFormIsTheShortestPlainDecimal) {
  for (auto [v, text] : {std::pair{0.0, "0"}, {-0.0, "0"}, {1.5, "1.5"}, {1e20, "100000000000000000000"},
                         {1.5e-7, "0.00000015"}, {-2.5e-5, "-0.000025"}})
    EXPECT_EQ(NumText(v), text);
  EXPECT_EQ(SingleText(0.1f), "0.1");
  EXPECT_EQ(SingleText(1e-7f), "0.0000001");
  EXPECT_EQ(ViaSingle(0.1f), 0.1);
  // Every text reads back to the same number.
  for (double v : {3.14159, -0.001, 12345678.9, 1e-10, 7e22}) EXPECT_EQ(Num(NumText(v)), v) << NumText(v);
}

}  // namespace
}  // namespace vorlan
