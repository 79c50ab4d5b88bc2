// vorlan_content <program folder> [--data-only | --outputs <list>]: writes the game's pictures, sounds
// and data files beside the executable. Everything is drawn and synthesised here from fixed seeds, so
// two runs give the same files. The list is the build's record of the files written (one relative
// path a line): the run fails unless it names exactly the files written, so it cannot drift.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "content.h"
#include "sound/sound_bank.h"

namespace fs = std::filesystem;

namespace {

// Compares the files written with the build's list of outputs; returns the differences.
int CheckOutputs(const fs::path& list, const std::vector<std::string>& written) {
  std::ifstream in(list);
  if (!in) {
    std::fprintf(stderr, "vorlan_content: cannot read %s\n", list.c_str());
    return 1;
  }
  std::set<std::string> listed, made(written.begin(), written.end());
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) listed.insert(line);
  int differences = 0;
  for (const std::string& f : made)
    if (!listed.count(f)) {
      std::fprintf(stderr, "vorlan_content: %s is written but not among the build's outputs\n", f.c_str());
      ++differences;
    }
  for (const std::string& f : listed)
    if (!made.count(f)) {
      std::fprintf(stderr, "vorlan_content: %s is among the build's outputs but not written\n", f.c_str());
      ++differences;
    }
  return differences;
}

}  // namespace

int main(int argc, char** argv) {
  bool dataOnly = argc == 3 && std::string(argv[2]) == "--data-only";
  bool listed = argc == 4 && std::string(argv[2]) == "--outputs";
  if (argc != 2 && !dataOnly && !listed) {
    std::fprintf(stderr, "usage: vorlan_content <program folder> [--data-only | --outputs <list>]\n");
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
  int failures = pics.failures + pics.Unwritten();
  if (!content::WriteContactSheet(pics, dir / "contact-sheet.png")) {
    std::fprintf(stderr, "vorlan_content: cannot write the contact sheet\n");
    ++failures;
  }
  std::vector<std::string> written = {"contact-sheet.png"};
  failures += content::WriteDataFiles(dir, &written);
  failures += content::WriteIcons(dir, &written);
  failures += sounds.get();
  SDL_Quit();
  if (listed) {
    for (const auto& e : pics.written) written.push_back("Pictures/" + e.name);
    for (const vorlan::SoundRow& row : vorlan::SoundCatalogue())
      written.push_back(std::string("Sounds/") + row.file);
    failures += CheckOutputs(argv[3], written);
  }

  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("vorlan_content: %zu pictures, sounds and data files in %.1f s%s\n", pics.written.size(), secs,
              failures ? " (with failures)" : "");
  return failures ? 1 : 0;
}
