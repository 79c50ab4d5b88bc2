// A new high score: its place in the table, the proof picture for the world table and the
// entry of the player's name on the high-score screen.
#pragma once

#include <string_view>

#include "game.h"

namespace vorlan {

// Inserts a finished game's score; with 0 only makes sure the table is loaded; during a name
// entry performs one step of it.
void HighScoreCheck(Game& g, double score);
// Fills slot i + offset with the finished game's result (place i + offset + 1) and takes the
// proof picture.
void HighScoreFill(Game& g, int i, int offset, double score);
// One pass of the name entry on the high-score screen; Enter ends it.
void NameEntryStep(Game& g);
// Ends an active entry with the name typed so far (the default name for none) and saves the
// table: on Enter, and when the window closes in the middle of the entry.
void EndNameEntry(Game& g);

// Window events for the name box: typed text (UTF-8) and key-down (Backspace).
void NameEntryTyped(Game& g, std::string_view utf8);
void NameEntryKeyDown(Game& g, int keyCode);

}  // namespace vorlan
