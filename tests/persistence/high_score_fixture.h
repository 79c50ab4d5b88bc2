// A game with a local high-score table written to its archive, for the table and name-entry tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game.h"
#include "persistence/high_scores.h"
#include "platform/headless/headless_platform.h"
#include "support/score_server.h"

namespace vorlan::testing {

inline ScoreRecord Sample(int score, const std::string& name) {
  return {PadNumber(score, 5), PadNumber(3, 3),        "02:05",
          PadNumber(5, 2),     PadNumber(10, 2),       PadNumber(2, 2),
          PadNumber(1, 2),     PadNumber(150, 3),      PadNumber(90, 3),
          PadNumber(12, 5),    PadNumber(20261206, 8), name};
}

inline std::string ArchiveOf(const std::vector<ScoreRecord>& recs) {
  std::string out;
  for (const auto& r : recs) {
    std::string line = RecordLine(r);  // scrambling empties it
    out += ScrambleText(line, kScrambleKey) + "\r\n";
  }
  return out + "END\r\n";
}

struct HighScores : ::testing::Test {
  HeadlessPlatform plat;
  Game g{plat};
  std::filesystem::path Archive() { return plat.DataDir() / "AtopVo118.vor"; }
  std::filesystem::path TempTxt() { return plat.ProgramDir() / "OtherFiles" / "Temp.txt"; }
  std::filesystem::path UploadList() { return plat.ProgramDir() / "Upload" / "upload.txt"; }

  void Reload() {
    g.hs.HsLoadCounter = 0;
    LoadHighScores(g);
  }
  // Writes an archive with these scores (names P0, P1, ...) and loads it.
  void LoadTable(std::vector<int> scores) {
    std::vector<ScoreRecord> recs;
    for (size_t k = 0; k < 11; ++k)
      recs.push_back(k < scores.size() ? Sample(scores[k], "P" + std::to_string(k)) : ScoreRecord{});
    WriteBytes(Archive(), ArchiveOf(recs));
    Reload();
  }
  // The name in a slot of the table as a restarted game reads it from disk.
  std::string SavedName(int slot) {
    Game fresh(plat);
    LoadHighScores(fresh);
    return fresh.hs.HsName[slot];
  }
};

}  // namespace vorlan::testing
