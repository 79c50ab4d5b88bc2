// Keyboard polling, the cursor mapping and the Field key and mouse events.
#pragma once

#include "game.h"

namespace vorlan {

// Start-up: the keyboard is read from here on (only while the window has the focus).
void InitKeyboard(Game& g);
// Shutdown: no more keyboard reads.
void ReleaseKeyboard(Game& g);
// Reads the keyboard and performs the global key actions.
void PollKeyboard(Game& g);
// Maps the cursor into Field pixels and turns the player toward it.
void UpdateCursor(Game& g);
// Field events (Windows virtual-key codes; buttons 1, 2, 4).
void FieldKeyDown(Game& g, int keyCode, int shift);
void FieldKeyUp(Game& g, int keyCode, int shift);
void FieldMouseDown(Game& g, int button, int shift, float x, float y);
void FieldMouseUp(Game& g, int button, int shift, float x, float y);

// DirectInput scan codes the game reads.
namespace dik {
constexpr int Escape = 0x01, Return = 0x1C, NumpadEnter = 0x9C, Add = 0x4E, Subtract = 0x4A, Insert = 0xD2,
              X = 0x2D, Up = 0xC8, Down = 0xD0, Left = 0xCB, Right = 0xCD, W = 0x11, A = 0x1E, S = 0x1F,
              D = 0x20;
}  // namespace dik

}  // namespace vorlan
