#include "numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vorlan {

int16_t Sat16(double v) {
  if (std::isnan(v)) return 0;
  if (v <= -32768.0) return -32768;
  if (v >= 32767.0) return 32767;
  return static_cast<int16_t>(v);
}

int16_t Sat16(long long v) {
  if (v < -32768) return -32768;
  if (v > 32767) return 32767;
  return static_cast<int16_t>(v);
}

int32_t Sat32(double v) {
  if (std::isnan(v)) return 0;
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

double Nearest(double v) {
  // The default floating-point rounding mode rounds halves to the even neighbour.
  return std::nearbyint(v);
}

int16_t Nearest16(double v) { return Sat16(Nearest(v)); }

double Floor(double v) { return std::floor(v); }

double Num(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  size_t start = i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  size_t end = i;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    size_t ed = 0;
    while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j, ++ed;
    if (ed > 0) end = j;
  }
  std::string s(t.substr(start, end - start));
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  double v = 0.0;
  auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    return (!s.empty() && s[0] == '-') ? -std::numeric_limits<double>::max()
                                       : std::numeric_limits<double>::max();
  }
  if (res.ec != std::errc()) return 0.0;
  return v;
}

namespace {
template <typename T>
std::string PlainText(T v) {
  if (std::isnan(v)) return "0";
  if (std::isinf(v)) return v > 0 ? "1E+308" : "-1E+308";
  if (v == 0) return "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, res.ptr);
  size_t e = s.find('e');
  if (e == std::string::npos) return s;
  // Expand the exponent into plain digits.
  bool neg = s[0] == '-';
  std::string mant = s.substr(neg ? 1 : 0, e - (neg ? 1 : 0));
  int exp = std::stoi(s.substr(e + 1));
  std::string digits;
  int pointPos;
  size_t dot = mant.find('.');
  if (dot == std::string::npos) {
    digits = mant;
    pointPos = static_cast<int>(mant.size());
  } else {
    digits = mant.substr(0, dot) + mant.substr(dot + 1);
    pointPos = static_cast<int>(dot);
  }
  pointPos += exp;
  std::string out;
  if (pointPos <= 0) {
    out = "0." + std::string(static_cast<size_t>(-pointPos), '0') + digits;
  } else if (pointPos >= static_cast<int>(digits.size())) {
    out = digits + std::string(static_cast<size_t>(pointPos) - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(pointPos)) + "." + digits.substr(static_cast<size_t>(pointPos));
  }
  return neg ? "-" + out : out;
}
}  // namespace

std::string NumText(double v) { return PlainText(v); }
std::string SingleText(float v) { return PlainText(v); }
double ViaSingle(float v) { return Num(SingleText(v)); }
std::string IntText(long long v) { return std::to_string(v); }

}  // namespace vorlan
