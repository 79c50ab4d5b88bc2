// vorlan_content <program folder> [--data-only]: writes the game's pictures, sounds and data files beside the
// executable. Everything is drawn and synthesised here from fixed seeds, so two runs give the same
// files.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <map>
#include <string>
#include <system_error>

#include "content.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  bool dataOnly = argc == 3 && std::string(argv[2]) == "--data-only";
  if (argc != 2 && !dataOnly) {
    std::fprintf(stderr, "usage: vorlan_content <program folder> [--data-only]\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  fs::path dir = argv[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::map<std::string, fs::path> sub;
  for (const char* name : {"Pictures", "Sounds", "OtherFiles", "Upload"}) {
    sub[name] = content::Existing(dir, name);
    fs::create_directories(sub[name], ec);
    if (ec) {
      std::fprintf(stderr, "vorlan_content: cannot create %s: %s\n", sub[name].c_str(), ec.message().c_str());
      return 1;
    }
  }
  if (dataOnly) return content::WriteDataFiles(dir) ? 1 : 0;
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "vorlan_content: SDL: %s\n", SDL_GetError());
    return 1;
  }
  if (!content::FontsReady()) {
    std::fprintf(stderr, "vorlan_content: the Liberation fonts are missing (fonts-liberation)\n");
    return 1;
  }

  // Sounds need no SDL: synthesise them on the second core while the pictures are drawn.
  auto sounds = std::async(std::launch::async, [&] { return content::WriteSounds(sub["Sounds"]); });

  content::PictureOut pics{sub["Pictures"], {}, 0};
  content::WriteSprites(pics);
  content::WriteScreens(pics);
  content::WriteTerrain(pics);
  int failures = pics.failures;
  if (!content::WriteContactSheet(pics, dir / "contact-sheet.png")) {
    std::fprintf(stderr, "vorlan_content: cannot write the contact sheet\n");
    ++failures;
  }
  failures += content::WriteDataFiles(dir);
  failures += content::WriteIcons(dir);
  failures += sounds.get();
  SDL_Quit();

  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("vorlan_content: %zu pictures, sounds and data files in %.1f s%s\n", pics.written.size(), secs,
              failures ? " (with failures)" : "");
  return failures ? 1 : 0;
}
