// The list of proof pictures waiting for upload: only plain picture names of the upload folder
// are sent and deleted, whatever the list holds, and a synchronisation that ends before the
// pictures leaves the list as it was.
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
  const auto list = program / "Upload/upload.txt";
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The world archive the upload replaces the server's with.
  const auto archive = g.PathOf("c:\\Windows\\AtopwVo118.vor");
  if (!FileExists(archive)) FUZZ_CHECK(CopyFileOver(program / "OtherFiles/Temp2.txt", archive));

  // The server's archive cannot be fetched: the exchange stops before the pictures.
  f.Put("\\upload\\upload.txt", data, size);
  net.sessionOpen = true;
  net.served.clear();
  g.ws.SyncFailure.clear();
  UploadScores(g);
  FUZZ_CHECK(g.ws.SyncFailure == "SERVER NOT REACHABLE");
  FUZZ_CHECK(ReadWholeFile(list) == input);

  // A server that answers and still holds the archive fetched at the download: the pictures go up.
  f.Put("\\upload\\upload.txt", data, size);
  g.ws.SyncBase = ReadWholeFile(archive).value_or("");
  // Pictures that a list may name, and files beside and above the folder that it must not touch.
  for (const char* name : {"Upload/a.jpg", "Upload/12345.jpg", "OtherFiles/b.jpg", "c.jpg"})
    WriteWholeFile(program / name, "x");
  WriteWholeFile(f.plat.DataDir() / "d.jpg", "x");
  net.sessionOpen = true;
  net.served = archive;
  net.puts = 0;
  g.ws.SyncFailure.clear();
  UploadScores(g);

  FUZZ_CHECK(g.ws.SyncFailure.empty());
  FUZZ_CHECK(FileExists(program / "OtherFiles/b.jpg") && FileExists(program / "c.jpg"));
  FUZZ_CHECK(FileExists(f.plat.DataDir() / "d.jpg"));
  FUZZ_CHECK(FileExists(program / "OtherFiles/Temp.txt") ||
             !FileExists(fuzz::ContentDir() / "OtherFiles/Temp.txt"));
  FUZZ_CHECK(net.puts <= 40);
  // Every picture went up, so none is left waiting.
  FUZZ_CHECK(!FileExists(list));
  return 0;
}
