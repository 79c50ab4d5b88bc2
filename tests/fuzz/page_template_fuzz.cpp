// The page template the server hands out, filled with the table into the world-score page.
#include "fuzz/fuzz_game.h"
#include "worldscores/world_table.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  static bool loaded = false;
  if (!loaded) {
    // The table of the generated default archive, so the page has rows to show.
    f.ClearData();
    g.ws = WorldScoreState{};
    LoadWorldScores(g);
    loaded = true;
  }
  f.Put("\\OtherFiles\\default.htm", data, size);
  WriteWorldPage(g);
  auto page = ReadLines(g.PathOf("\\OtherFiles\\worldscoresVo118.htm"));
  FUZZ_CHECK(page && page->size() >= 9);
  FUZZ_CHECK(page->back() == "</HTML>");
  return 0;
}
