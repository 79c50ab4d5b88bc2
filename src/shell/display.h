// The window's operations the whole game uses: showing Field and StatusField, the loading
// display, the display switch, running the pending window events and ending the program.
// Kept apart from the start-up and main loop so the modules that draw need not know them.
#pragma once

#include <string_view>

#include "game.h"

namespace vorlan {

// Makes Field (and StatusField) visible: the displayed copies take the drawing surfaces.
void RefreshField(Game& g);
void RefreshStatusField(Game& g);
// One step of the loading display with StatusMessage, then a yield.
void ShowProgress(Game& g);
// Switches between windowed and full-screen display.
void SetDisplayMode(Game& g, bool fullScreen);
// Confines the cursor to Field (on) or frees it.
void ClipCursorToField(Game& g, bool on);
// Runs the pending window events (key, mouse, text, close).
void DoEvents(Game& g);
// Text typed into the name box (UTF-8 from the window), kept in Windows-1252.
void TypeIntoYourName(Game& g, std::string_view utf8);
// Releases everything and marks the program as ended (the main loop then stops).
void WindowUnload(Game& g);

}  // namespace vorlan
