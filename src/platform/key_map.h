// Keyboard translation from the window system's key numbers to the codes the game reads: scan
// codes of the keyboard state (DirectInput numbering) and virtual-key codes of key events
// (Windows numbering). Pure functions on plain numbers; the SDL platform checks at compile
// time that the numbers here are SDL's own.
#pragma once

#include <cstdint>

namespace vorlan {

// DirectInput scan code of a USB/SDL scancode; 0 for keys the game has no code for.
int ScancodeToDik(int sdlScancode);
// Windows virtual-key code of an SDL keycode; 0 when there is none.
int KeycodeToVk(int sdlKeycode);
// Same, falling back to the key's place when the layout gives it no Latin character (letter
// and digit keys of other alphabets still steer with W, A, S, D).
int KeyToVk(int sdlKeycode, int sdlScancode);
// The event's shift argument from SDL modifier bits: 1 shift, 2 ctrl, 4 alt.
int ModifiersToShift(uint16_t sdlMod);

// DirectInput scan codes the game reads (indexes of the keyboard state).
namespace dik {
constexpr int Escape = 0x01, Return = 0x1C, NumpadEnter = 0x9C, Add = 0x4E, Subtract = 0x4A, Insert = 0xD2,
              Minus = 0x0C, Equals = 0x0D, X = 0x2D, Up = 0xC8, Down = 0xD0, Left = 0xCB, Right = 0xCD, W = 0x11, A = 0x1E, S = 0x1F,
              D = 0x20;
}  // namespace dik

// Windows virtual-key codes of the key events the game handles.
namespace vk {
constexpr int Back = 0x08, Control = 0x11, A = 0x41, D = 0x44, Q = 0x51, S = 0x53, W = 0x57;
}  // namespace vk

}  // namespace vorlan
