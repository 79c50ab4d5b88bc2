// Number and text conventions shared by every module: 16-bit saturation, rounding, the
// decimal text form of numbers and the conversion of text back to numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan {

// Booleans of the game's records are 16-bit: true = -1, false = 0.
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
inline int16_t Bool16(bool b) { return b ? kTrue : kFalse; }

// Clamps a wide value into the 16-bit range (counters saturate instead of wrapping).
int16_t Sat16(double v);
int16_t Sat16(long long v);
inline int16_t Sat16(int v) { return Sat16(static_cast<long long>(v)); }
// Clamps into the 32-bit range.
int32_t Sat32(double v);

// nearest(x): round to the nearest integer, halves to the even neighbour.
double Nearest(double v);
// Nearest, then stored into a 16-bit integer (saturating).
int16_t Nearest16(double v);
// floor(x) as a double.
double Floor(double v);

// num(t): the number at the start of a text, 0 when there is none (leading blanks skipped,
// optional sign, digits, optional fraction, optional exponent).
double Num(std::string_view text);
// The integer part of a text-held number (a table column); an empty text counts as 0.
inline double WholeNum(std::string_view text) { return Floor(Num(text)); }

// The shortest plain decimal text of a double (no leading blank, no exponent), e.g. "1.5", "-3", "0.25".
std::string NumText(double v);
// The shortest plain decimal text of a single-precision value, e.g. 0.1f gives "0.1".
std::string SingleText(float v);
// A single stored into a text-held number: the value of the single's shortest text.
double ViaSingle(float v);
// Integer text in plain decimal.
std::string IntText(long long v);

}  // namespace vorlan
