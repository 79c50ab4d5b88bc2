// Key tables: USB usage numbers (which SDL uses as scancodes) to DirectInput scan codes, and SDL
// keycodes to Windows virtual-key codes.
#include "platform/key_map.h"

#include <cstddef>

namespace vorlan {

namespace {

struct Pair {
  int from, to;
};

// USB usage -> DirectInput scan code.
constexpr Pair kScanToDik[] = {
    {4, 0x1E},   {5, 0x30},   {6, 0x2E},   {7, 0x20},   {8, 0x12},  {9, 0x21},  {10, 0x22},
    {11, 0x23},  {12, 0x17},  {13, 0x24},  {14, 0x25},  {15, 0x26}, {16, 0x32}, {17, 0x31},
    {18, 0x18},  {19, 0x19},  {20, 0x10},  {21, 0x13},  {22, 0x1F}, {23, 0x14}, {24, 0x16},
    {25, 0x2F},  {26, 0x11},  {27, 0x2D},  {28, 0x15},  {29, 0x2C},  // A..Z
    {30, 0x02},  {31, 0x03},  {32, 0x04},  {33, 0x05},  {34, 0x06}, {35, 0x07}, {36, 0x08},
    {37, 0x09},  {38, 0x0A},  {39, 0x0B},                                        // 1..9, 0
    {40, 0x1C},  {41, 0x01},  {42, 0x0E},  {43, 0x0F},  {44, 0x39},              // Enter Esc Back Tab Space
    {45, 0x0C},  {46, 0x0D},  {47, 0x1A},  {48, 0x1B},  {49, 0x2B}, {50, 0x2B},  // - = [ ] \ #
    {51, 0x27},  {52, 0x28},  {53, 0x29},  {54, 0x33},  {55, 0x34}, {56, 0x35},  // ; ' ` , . /
    {57, 0x3A},                                                                  // Caps Lock
    {58, 0x3B},  {59, 0x3C},  {60, 0x3D},  {61, 0x3E},  {62, 0x3F}, {63, 0x40}, {64, 0x41},
    {65, 0x42},  {66, 0x43},  {67, 0x44},  {68, 0x57},  {69, 0x58},              // F1..F12
    {70, 0xB7},  {71, 0x46},  {72, 0xC5},                                        // PrtSc Scroll Pause
    {73, 0xD2},  {74, 0xC7},  {75, 0xC9},  {76, 0xD3},  {77, 0xCF}, {78, 0xD1},  // Ins Home PgUp Del End PgDn
    {79, 0xCD},  {80, 0xCB},  {81, 0xD0},  {82, 0xC8},                           // Right Left Down Up
    {83, 0x45},  {84, 0xB5},  {85, 0x37},  {86, 0x4A},  {87, 0x4E}, {88, 0x9C},  // keypad NumLk / * - + Enter
    {89, 0x4F},  {90, 0x50},  {91, 0x51},  {92, 0x4B},  {93, 0x4C}, {94, 0x4D}, {95, 0x47},
    {96, 0x48},  {97, 0x49},  {98, 0x52},  {99, 0x53},   // keypad 1..9, 0, .
    {100, 0x56}, {101, 0xDD},                            // extra \, menu key
    {224, 0x1D}, {225, 0x2A}, {226, 0x38}, {227, 0xDB},  // left Ctrl Shift Alt Win
    {228, 0x9D}, {229, 0x36}, {230, 0xB8}, {231, 0xDC},  // right Ctrl Shift Alt Win
};

// Scancode part of non-character keycodes -> virtual-key code.
constexpr Pair kScanToVk[] = {
    {57, 20},  {58, 112}, {59, 113}, {60, 114}, {61, 115}, {62, 116}, {63, 117}, {64, 118},
    {65, 119}, {66, 120}, {67, 121}, {68, 122}, {69, 123},            // Caps, F1..F12
    {70, 44},  {71, 145}, {72, 19},                                   // PrtSc Scroll Pause
    {73, 45},  {74, 36},  {75, 33},  {77, 35},  {78, 34},             // Ins Home PgUp End PgDn
    {79, 39},  {80, 37},  {81, 40},  {82, 38},                        // arrows
    {83, 144}, {84, 111}, {85, 106}, {86, 109}, {87, 107}, {88, 13},  // keypad NumLk / * - + Enter
    {89, 97},  {90, 98},  {91, 99},  {92, 100}, {93, 101}, {94, 102}, {95, 103}, {96, 104},
    {97, 105}, {98, 96},  {99, 110},  // keypad 1..9, 0, .
    {101, 93},                        // menu key
    {224, 17}, {225, 16}, {226, 18}, {227, 91}, {228, 17}, {229, 16}, {230, 18}, {231, 92},
};

// Characters of the main block -> virtual-key code.
constexpr Pair kCharToVk[] = {
    {8, 8},      {9, 9},     {13, 13},    {27, 27},   {32, 32},   {127, 46},  {';', 186},
    {'=', 187},  {',', 188}, {'-', 189},  {'.', 190}, {'/', 191}, {'`', 192}, {'[', 219},
    {'\\', 220}, {']', 221}, {'\'', 222}, {'#', 220}, {'<', 226},
};

template <std::size_t N>
int Find(const Pair (&table)[N], int key) {
  for (const Pair& p : table)
    if (p.from == key) return p.to;
  return 0;
}

constexpr int kScancodeMask = 1 << 30;  // SDL marks keycodes of keys without a character

}  // namespace

int ScancodeToDik(int sdlScancode) { return Find(kScanToDik, sdlScancode); }

int KeycodeToVk(int sdlKeycode) {
  if (sdlKeycode & kScancodeMask) return Find(kScanToVk, sdlKeycode & ~kScancodeMask);
  if (sdlKeycode >= 'a' && sdlKeycode <= 'z') return sdlKeycode - 'a' + 'A';
  if (sdlKeycode >= 'A' && sdlKeycode <= 'Z') return sdlKeycode;
  if (sdlKeycode >= '0' && sdlKeycode <= '9') return sdlKeycode;
  return Find(kCharToVk, sdlKeycode);
}

int KeyToVk(int sdlKeycode, int sdlScancode) {
  int vk = KeycodeToVk(sdlKeycode);
  if (vk != 0) return vk;
  if (sdlScancode >= 4 && sdlScancode <= 29) return 'A' + sdlScancode - 4;
  if (sdlScancode >= 30 && sdlScancode <= 38) return '1' + sdlScancode - 30;
  if (sdlScancode == 39) return '0';
  return Find(kScanToVk, sdlScancode);
}

int ModifiersToShift(uint16_t sdlMod) {
  int shift = 0;
  if (sdlMod & 0x0003) shift |= 1;  // either Shift
  if (sdlMod & 0x00C0) shift |= 2;  // either Ctrl
  if (sdlMod & 0x0300) shift |= 4;  // either Alt
  return shift;
}

}  // namespace vorlan
