// The exchange with the score server and the version check.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "game.h"

namespace vorlan {

// This program's version, as announced and compared in the version file.
inline constexpr std::string_view kProgramVersion = "1200";

// True when a network other than loopback is up or the web site is this machine (at most once a second).
bool CheckConnection(Game& g);
// True when the web site announces a newer version (the player has then been asked about it).
bool CheckNewVersion(Game& g);
// Starts a synchronisation: version check, address file, connect, fetch, merge, save, upload.
// Ends within the exchange limit; Escape or closing the window cancel it.
void DownloadScores(Game& g);
// Ends a synchronisation: the archive, the proof pictures, the page; closes the session.
void UploadScores(Game& g);
// Reads the server's directory listing (and discards it).
void ListServerFiles(Game& g);
// Downloads a web address into a file; true when it arrived whole.
bool DownloadUrl(Game& g, std::string_view url, const std::filesystem::path& file);

// One progress step with its status text.
void ShowStage(Game& g, std::string_view text);
// A name from the upload list that may be uploaded and deleted: a plain file name ending in ".jpg".
bool PlainPictureName(std::string_view name);

}  // namespace vorlan
