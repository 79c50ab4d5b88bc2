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

  // What was read is written back and read again unchanged: no setting drifts per start.
  const OptionsState first = o;
  OptionsFile(g, true);
  g.options = OptionsState{};
  OptionsFile(g, false);
  const OptionsState& again = g.options;
  FUZZ_CHECK(again.OptBloodFly == first.OptBloodFly && again.OptBloodStays == first.OptBloodStays &&
             again.OptBulletFly == first.OptBulletFly && again.OptDebugInfo == first.OptDebugInfo &&
             again.OptScoreInfo == first.OptScoreInfo && again.OptSnow == first.OptSnow &&
             again.OptMono == first.OptMono && again.SoundVolume == first.SoundVolume &&
             again.PlayMinutes == first.PlayMinutes && again.TimesPlayed == first.TimesPlayed &&
             again.OptFootSteps == first.OptFootSteps && again.MapsGenerated == first.MapsGenerated &&
             again.OptFullScreen == first.OptFullScreen && again.OptMovementReal == first.OptMovementReal &&
             again.OptAlphaBlend == first.OptAlphaBlend && again.OptKillsInRow == first.OptKillsInRow);
  return 0;
}
