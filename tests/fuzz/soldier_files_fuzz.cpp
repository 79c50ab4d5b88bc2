// Soldier files: the enemy file every spawn reads, and keys looked up under odd file names.
#include <cmath>

#include "fuzz/fuzz_game.h"
#include "numbers.h"
#include "soldiers/soldier_files.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  f.Put("\\OtherFiles\\LVL1.txt", data, size);
  for (auto& s : g.world.Soldiers) s.Alive = kFalse;
  g.world.Soldiers[0].Alive = kTrue;  // the player's slot is taken, as in a running game

  SpawnFromFile(g, "LVL1");
  FUZZ_CHECK(g.world.SpawnSlot == 1);
  const Soldier& s = g.world.Soldiers[1];
  FUZZ_CHECK(s.Alive == kTrue);
  FUZZ_CHECK(std::isfinite(s.Speed) && std::isfinite(s.Health) && std::isfinite(s.Range));
  FUZZ_CHECK(s.Name.size() <= 20);

  // The first line as a file name: names that would leave the game's folders read nothing.
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string_view name = text.substr(0, std::min(text.find('\n'), size_t{64}));
  g.world.KeyValue = "unchanged";
  ReadKey(g, "otherfiles", name, "NA");
  ReadKey(g, name, "LVL1", name);
  FUZZ_CHECK(g.world.KeyValue.size() <= 20);
  return 0;
}
