// The local score archive: loaded, checked, saved and loaded again.
#include "fuzz/fuzz_game.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/high_scores.h"

using namespace vorlan;

namespace {

// Every column within its width: a wider one would run on and shift the columns after it.
void CheckWidths(const ScoreRecord& r) {
  FUZZ_CHECK(RecordLine(r).size() == RecordLine(ScoreRecord{}).size() + r.Name.size());
  FUZZ_CHECK(r.Name.size() <= col::Name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  f.ClearData();
  f.Put("c:\\Windows\\AtopVo118.vor", data, size);
  g.hs = HighScoreState{};
  LoadHighScores(g);
  HighScoreCheck(g, 0);
  FUZZ_CHECK(g.hs.NameEntryActive == kFalse);

  ScoreRecord first[kHsSlots];
  for (int slot = 0; slot < kHsSlots; ++slot) {
    first[slot] = HsRecord(g.hs, slot);
    CheckWidths(first[slot]);
  }
  // Whatever was loaded survives a save and a load as the same record lines: a result never gets
  // lost or changed on the way.
  SaveHighScores(g);
  g.hs = HighScoreState{};
  LoadHighScores(g);
  for (int slot = 0; slot < kHsSlots; ++slot) fuzz::CheckReadBack(slot, HsRecord(g.hs, slot), first[slot]);
  return 0;
}
