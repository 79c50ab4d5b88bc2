// The options file as a damaged disk or a curious player may leave it.
#include "fuzz/fuzz_game.h"
#include "persistence/options_file.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  f.Put("\\OtherFiles\\Options.txt", data, size);
  g.options = OptionsState{};
  OptionsFile(g, false);

  const OptionsState& o = g.options;
  FUZZ_CHECK(o.SoundVolume >= 0 && o.SoundVolume <= 100);
  FUZZ_CHECK(o.OptFootSteps == 0 || o.OptFootSteps == 8);
  FUZZ_CHECK(o.OptFullScreen == 0 || o.OptFullScreen == 8);

  // What was read is written back and read again unchanged (the file holds every setting, so it
  // comes out the same a second time): no setting drifts per start.
  OptionsFile(g, true);
  const auto written = ReadWholeFile(g.PathOf("\\OtherFiles\\Options.txt"));
  g.options = OptionsState{};
  OptionsFile(g, false);
  OptionsFile(g, true);
  FUZZ_CHECK(ReadWholeFile(g.PathOf("\\OtherFiles\\Options.txt")) == written);
  return 0;
}
