// The world table: merge with the local table, archive, and the HTML page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game.h"
#include "persistence/high_scores.h"

namespace vorlan {

// The merge run after the server's archive has been fetched; saves and uploads the result.
void WorldSync(Game& g);
// Reads the world archive on the first call and on every 10000th call after.
void LoadWorldScores(Game& g);
// Writes the scrambled archive and the plain copy, then uploads.
void SaveWorldScores(Game& g);
// Writes the scrambled archive, the plain copy and its copy in "OtherFiles".
void WriteWorldFiles(Game& g);
// Reads a world archive file into a table (slots the file does not fill are emptied).
void ReadWorldArchive(const std::filesystem::path& archive, WorldScoreState& ws);
// Puts one result into its place (ties below, a known score and name skipped); true when it went in.
bool MergeResult(WorldScoreState& ws, const ScoreRecord& result);
// Whether every result of ours is in the server's places or was pushed out of them by better ones.
bool HoldsResultsOf(const WorldScoreState& server, const WorldScoreState& ours);
// Another client replaced the server's archive since we fetched it: the table becomes that archive
// with every result of our archive file merged in, and the archive files and the page are
// written again.
void RemergeWorldScores(Game& g, const std::filesystem::path& serverArchive);
// Writes the page "\OtherFiles\worldscoresVo118.htm" from the template and the table.
void WriteWorldPage(Game& g);
// Locale information of the user: kind 0x1002 the country's English name, 8 its native name.
std::string GetLocaleString(Game& g, int kind);

// Slot access of the thirteen parallel columns (the mark is left alone).
ScoreRecord WsRecord(const WorldScoreState& ws, int slot);
void SetWsRecord(WorldScoreState& ws, int slot, const ScoreRecord& r);

// The 105 lines of a world archive: slots 0 to 100 (scrambled or plain), "END", the counter
// including this upload, today ("dd.mm.yyyy") and the previous update's date.
std::vector<std::string> WorldArchiveLines(const WorldScoreState& ws, bool scrambled,
                                           std::string_view todayDots);

// "yyyymmdd" to "dd.mm.yyyy" (other texts come back unchanged).
std::string DottedDate(std::string_view yyyymmdd);
// The page's cut-off for "new" results: today one month back, as the number yyyymmdd.
long CutOffDate(std::string_view todayYyyymmdd);
// The rank shown on the page for a level (sum of the four skills).
std::string LevelTitle(int level);
// Text made safe for the page: markup characters as entities, control characters as blanks.
std::string HtmlEscape(std::string_view text);
// The web site of the game ("OtherFiles/WebSite.txt"), without a trailing slash.
std::string WebSite(Game& g);

// Address and version files are read for their first line only.
constexpr LineLimits kOneLineFile{.maxBytes = 4096, .maxLines = 1, .maxLineLength = 1024};

}  // namespace vorlan
