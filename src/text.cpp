#include "text.h"

#include <cstdint>

#include "numbers.h"

namespace vorlan {

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

std::string_view Columns(std::string_view line, size_t from, size_t to) {
  if (from < 1 || line.size() < from) return {};
  return line.substr(from - 1, to - from + 1);
}

std::string PadRight(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

std::string Fixed(std::string text, size_t count) {
  text.resize(count, ' ');
  return text;
}

std::string TwoDigits(int v) { return v < 10 ? "0" + IntText(v) : IntText(v); }

namespace {
// Unicode of the bytes 0x80..0x9F of Windows-1252; 0 where the code page has no character.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void PutUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Case mapping of the archive's code page (Windows-1252), so accented names keep their letters.
unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 16;
  if (c == 0xFF) return 0x9F;
  return c;
}
unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
  if (c == 0x9F) return 0xFF;
  return c;
}
}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  Cp1252ToUtf8Into(bytes, out);
  return out;
}

void Cp1252ToUtf8Into(std::string_view bytes, std::string& out) {
  out.clear();
  out.reserve(bytes.size() + 8);
  for (unsigned char b : bytes) {
    if (b >= 0x80 && b < 0xA0) {
      uint16_t cp = kCp1252High[b - 0x80];
      PutUtf8(out, cp ? cp : '?');
    } else {
      PutUtf8(out, b);
    }
  }
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0, n = utf8.size();
  while (i < n) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    uint32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out += '?';
      ++i;
      continue;
    }
    bool ok = i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      unsigned char c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms and surrogates are damaged input, not characters.
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += '?';
      ++i;
      continue;
    }
    i += len;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kCp1252High[k] == cp) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    out += mapped;
  }
  return out;
}

std::string NameCase(std::string_view cp1252) {
  std::string name(cp1252);
  for (size_t k = 0; k < name.size(); ++k) {
    auto c = static_cast<unsigned char>(name[k]);
    name[k] = static_cast<char>(k == 0 ? UpperCp1252(c) : LowerCp1252(c));
  }
  return name;
}

}  // namespace vorlan
