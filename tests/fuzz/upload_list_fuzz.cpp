// The list of proof pictures waiting for upload: only plain picture names of the upload folder
// are sent and deleted, whatever the list holds.
#include <filesystem>

#include "fuzz/fuzz_game.h"
#include "platform/files.h"
#include "worldscores/score_server.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  auto& net = f.plat.net;
  const auto program = f.plat.ProgramDir();
  f.Put("\\upload\\upload.txt", data, size);
  // Pictures that a list may name, and files beside and above the folder that it must not touch.
  for (const char* name : {"Upload/a.jpg", "Upload/12345.jpg", "OtherFiles/b.jpg", "c.jpg"})
    WriteWholeFile(program / name, "x");
  WriteWholeFile(f.plat.DataDir() / "d.jpg", "x");
  net.sessionOpen = true;
  net.puts = 0;
  UploadScores(g);

  FUZZ_CHECK(FileExists(program / "OtherFiles/b.jpg") && FileExists(program / "c.jpg"));
  FUZZ_CHECK(FileExists(f.plat.DataDir() / "d.jpg"));
  FUZZ_CHECK(FileExists(program / "OtherFiles/Temp.txt") ||
             !FileExists(fuzz::ContentDir() / "OtherFiles/Temp.txt"));
  FUZZ_CHECK(net.puts <= 40);
  if (auto left = ReadLines(program / "Upload/upload.txt")) FUZZ_CHECK(left->size() <= 30);
  return 0;
}
