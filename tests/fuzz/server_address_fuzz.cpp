// The server address file the web site hands out at the start of a synchronisation.
#include "fuzz/fuzz_game.h"
#include "numbers.h"
#include "worldscores/score_server.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  auto& net = f.plat.net;
  f.ClearData();
  net.serves = "WSserver.txt";
  net.body.assign(reinterpret_cast<const char*>(data), size);
  net.lastHost = net.lastUser = net.lastPassword = "-";
  g.ws.Connected = kFalse;
  DownloadScores(g);

  // The fields come from fixed columns; the refused login ends the synchronisation.
  FUZZ_CHECK(net.lastHost.size() <= 25 && net.lastUser.size() <= 25 && net.lastPassword.size() <= 25);
  FUZZ_CHECK(g.ws.SyncAborted);
  FUZZ_CHECK(!net.FtpOpen());
  return 0;
}
