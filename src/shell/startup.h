// Start-up, main loop and shutdown of the program, the display switch and the progress display.
#pragma once

#include "game.h"

namespace vorlan {

// The start-up sequence; ends by running MainLoop until the window closes.
void WindowLoad(Game& g);
// Runs main-loop passes until the window is closed or unloaded.
void MainLoop(Game& g);
// One pass of the main loop (after the preparation of the first pass).
void MainLoopPass(Game& g);
// Releases everything and marks the program as ended.
void WindowUnload(Game& g);
// Switches between windowed and full-screen display.
void SetDisplayMode(Game& g, bool fullScreen);
// Confines the cursor to Field (on) or frees it.
void ClipCursorToField(Game& g, bool on);
// One step of the loading display with StatusMessage, then a yield.
void ShowProgress(Game& g);
// Makes Field (and StatusField) visible: the displayed copies take the drawing surfaces.
void RefreshField(Game& g);
void RefreshStatusField(Game& g);
// Runs the pending window events (key, mouse, text, close).
void DoEvents(Game& g);
// Text typed into the name box (UTF-8 from the window), kept in Windows-1252.
void TypeIntoYourName(Game& g, std::string_view utf8);

}  // namespace vorlan
