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

}  // namespace vorlan
