// Start-up of the game to its first main-loop pass with every picture and sound loaded from the
// generated content (headless: no window, the audio only records). The terrain maps are made once
// before timing, as on every start after the first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "game.h"
#include "platform/headless/headless_platform.h"
#include "shell/display.h"
#include "shell/startup.h"

namespace {

using namespace vorlan;
namespace fs = std::filesystem;

// A private copy of the content, so the maps and options written by start-up stay out of the build.
class StartUpFolder {
 public:
  StartUpFolder()
      : folder_(fs::temp_directory_path() / ("vorlan-startup-bench-" + std::to_string(::getpid()))) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
    fs::create_directories(folder_);
    for (const char* dir : {"Pictures", "OtherFiles", "Sounds"})
      fs::copy(fs::path(VORLAN_PROGRAM_DIR) / dir, folder_ / dir, fs::copy_options::recursive, ec);
    Start();  // first start: generates the maps
  }
  ~StartUpFolder() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  // One whole start-up; true when the content was there.
  bool Start() {
    HeadlessPlatform plat(folder_);
    Game g(plat);
    g.form.StopAfterPasses = 1;
    WindowLoad(g);
    bool loaded = !g.pics.PicMainLogo.Empty() && g.sound.Loaded[1];
    WindowUnload(g);
    return loaded;
  }

 private:
  fs::path folder_;
};

void BM_StartUpToFirstPass(benchmark::State& state) {
  StartUpFolder folder;
  for (auto _ : state) {
    if (!folder.Start()) {
      state.SkipWithError("content not built");
      break;
    }
  }
}
BENCHMARK(BM_StartUpToFirstPass)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
