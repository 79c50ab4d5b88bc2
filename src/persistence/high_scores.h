// The local high-score table, its name entry and its scrambled archive.
#pragma once

#include <string>

#include "game.h"

namespace vorlan {

// Inserts a finished game's score; with 0 only makes sure the table is loaded; during a name
// entry performs one step of it.
void HighScoreCheck(Game& g, double score);
void SaveHighScores(Game& g);
void LoadHighScores(Game& g);
// Returns the scrambled text and empties the given one.
std::string ScrambleText(std::string& text, int key);

}  // namespace vorlan
