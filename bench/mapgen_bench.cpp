// Generation of the four terrain maps: the effect chain on each photograph plus loading the
// photographs and writing the bitmaps, as on the first start of the program.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "game.h"
#include "graphics/picture_catalogue.h"
#include "platform/headless/headless_platform.h"
#include "platform/random.h"
#include "terrain/new_game.h"
#include "terrain/pixel_effects.h"

namespace {

using namespace vorlan;
namespace fs = std::filesystem;

// Fills a temporary program folder with the four photographs: the shipped ones when the
// program folder has them, otherwise stand-ins of the same size.
void PreparePhotos(HeadlessPlatform& plat) {
  const fs::path pictures = plat.ProgramDir() / "Pictures";
  fs::create_directories(pictures);
  fs::create_directories(plat.ProgramDir() / "OtherFiles");
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "Map0" + std::to_string(n) + ".jpg";
    const fs::path shipped = fs::path(VORLAN_PROGRAM_DIR) / "Pictures" / name;
    std::error_code ec;
    if (fs::exists(shipped) && fs::copy_file(shipped, pictures / name, fs::copy_options::overwrite_existing, ec)) {
      continue;
    }
    Surface photo(300, 300);
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) SetPixelV(photo, x, y, Rgb((x * 3 + n * 40) & 255, (y * 5) & 255, (x ^ y) & 255));
    plat.SaveJpeg(photo, pictures / name, 90);
  }
}

void BM_GenerateFourMaps(benchmark::State& state) {
  HeadlessPlatform plat;
  PreparePhotos(plat);
  Game g(plat);
  g.form.Field.Resize(300, 300);
  g.form.Terain.Resize(320, 320);
  const fs::path logo = fs::path(VORLAN_PROGRAM_DIR) / "Pictures" / "MainLogo.jpg";
  plat.LoadPicture(logo, g.pics.PicMainLogo);
  for (auto _ : state) {
    g.options.MapsGenerated = 0;
    GenerateMaps(g);
    if (g.options.MapsGenerated != 1) state.SkipWithError("maps were not generated");
  }
  state.SetLabel("4 maps: load, Diffuse, Blur, Diffuse, ScaleUp, save");
}
BENCHMARK(BM_GenerateFourMaps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The effect chain of one map alone, without file work.
void BM_EffectChainOneMap(benchmark::State& state) {
  Surface t(320, 320);
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 320; ++x) SetPixelV(t, x, y, Rgb(x & 255, y & 255, (x + y) & 255));
  Random rng(99);
  for (auto _ : state) {
    Diffuse(rng, t, 315, 315, t, 2);
    Blur(t, 300, 300, t, 2);
    Diffuse(rng, t, 315, 315, t, 2);
    ScaleUp(t, 300, 300, t, 304, 304);
    benchmark::DoNotOptimize(t.Pixels().data());
  }
}
BENCHMARK(BM_EffectChainOneMap)->Unit(benchmark::kMillisecond);

}  // namespace
