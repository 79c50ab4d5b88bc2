// The world archive as the server sends it: loaded, saved and loaded again, then merged with the
// local table.
#include "fuzz/fuzz_game.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "text.h"
#include "worldscores/world_table.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  f.ClearData();
  f.Put("c:\\Windows\\AtopwVo118.vor", data, size);
  g.ws = WorldScoreState{};
  LoadWorldScores(g);

  std::vector<ScoreRecord> first;
  for (int slot = 0; slot < WorldScoreState::kSlots; ++slot) {
    first.push_back(WsRecord(g.ws, slot));
    // Control characters at either end of a name show as blanks, which the archive drops.
    first.back().Name = Trim(first.back().Name);
    FUZZ_CHECK(first.back().Name.size() <= col::Name);
    for (char c : first.back().Name) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  // The archive we write is read back as the same table (the 101 stored slots).
  const int16_t uploads = g.ws.WsUploads;
  auto lines = WorldArchiveLines(g.ws, true, "01.02.2026");
  FUZZ_CHECK(WriteTextLines(g.PathOf("c:\\Windows\\AtopwVo118.vor"), lines));
  g.ws = WorldScoreState{};
  LoadWorldScores(g);
  for (int slot = 0; slot <= 100; ++slot) fuzz::CheckReadBack(slot, WsRecord(g.ws, slot), first[slot]);
  FUZZ_CHECK(g.ws.WsUploads == Sat16(uploads + 1));
  FUZZ_CHECK(g.ws.WsLastUpdate == "01.02.2026");

  // The merge over the same input: marks stay marks, the session ends.
  f.Put("c:\\Windows\\AtopwVo118.vor", data, size);
  g.ws = WorldScoreState{};
  g.hs = HighScoreState{};
  f.plat.net.sessionOpen = false;
  WorldSync(g);
  for (int slot = 0; slot < WorldScoreState::kSlots; ++slot)
    FUZZ_CHECK(g.ws.WsMark[slot] >= 0 && g.ws.WsMark[slot] <= 2);
  return 0;
}
