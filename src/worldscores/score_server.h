// The exchange with the score server and the version check.
#pragma once

#include "game.h"

namespace vorlan {

// True when a network other than loopback is up or the web site is this machine (at most once a second).
bool CheckConnection(Game& g);
bool CheckNewVersion(Game& g);
void DownloadScores(Game& g);
void UploadScores(Game& g);

}  // namespace vorlan
