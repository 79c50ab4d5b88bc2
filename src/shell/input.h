// Keyboard polling, the cursor mapping and the Field key and mouse events.
#pragma once

#include "game.h"
#include "platform/key_map.h"

namespace vorlan {

// Start-up: the keyboard is read from here on (only while the window has the focus).
void InitKeyboard(Game& g);
// Shutdown: no more keyboard reads.
void ReleaseKeyboard(Game& g);
// Reads the keyboard into KeyState; false (and no key down) while another window has the focus.
bool ReadKeyState(Game& g);
// Reads the keyboard and performs the global key actions.
void PollKeyboard(Game& g);
// Maps the cursor into Field pixels and turns the player toward it.
void UpdateCursor(Game& g);
// Field events (Windows virtual-key codes; buttons 1, 2, 4).
void FieldKeyDown(Game& g, int keyCode, int shift);
void FieldKeyUp(Game& g, int keyCode, int shift);
void FieldMouseDown(Game& g, int button, int shift, float x, float y);
void FieldMouseUp(Game& g, int button, int shift, float x, float y);

}  // namespace vorlan
