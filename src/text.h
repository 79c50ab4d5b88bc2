// Text conventions shared by every module: blanks, fixed columns, two-digit fields and the
// single-byte code page (Windows-1252) of the game's files and names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// The text without its leading and trailing blanks (tabs and other bytes are kept).
std::string_view Trimmed(std::string_view t);
inline std::string Trim(std::string_view t) { return std::string(Trimmed(t)); }

// Columns from..to (1-based, inclusive) of a fixed-column line; shorter lines give what they have.
std::string_view Columns(std::string_view line, size_t from, size_t to);
// Blanks appended up to the width; a longer text runs on, never cut.
std::string PadRight(std::string text, size_t width);
// Exactly count characters: padded with blanks (which wipe older text on screen) or cut.
std::string Fixed(std::string text, size_t count);
// The minutes or seconds of a game time with a leading zero below 10.
std::string TwoDigits(int v);

// Converts Windows-1252 bytes to UTF-8 and back (characters outside the code page become '?').
std::string Cp1252ToUtf8(std::string_view bytes);
// The same into a caller's string (its capacity is reused).
void Cp1252ToUtf8Into(std::string_view bytes, std::string& out);
std::string Utf8ToCp1252(std::string_view utf8);
// A name as the tables show it: first letter upper case, the rest lower case, accented
// letters of the code page included.
std::string NameCase(std::string_view cp1252);

}  // namespace vorlan
