// The version announcement of the web site: a newer version may open the browser, and then only
// on a plain file of the game's own folder there.
#include "fuzz/fuzz_game.h"
#include "worldscores/score_server.h"
#include "worldscores/world_table.h"

using namespace vorlan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& f = fuzz::Shared();
  Game& g = f.g;
  auto& net = f.plat.net;
  net.serves = "NewVer.txt";
  net.body.assign(reinterpret_cast<const char*>(data), size);
  f.plat.openedUrls.clear();
  f.plat.messageBoxes.clear();
  f.plat.SetMessageBoxAnswer(kIdYes);
  const bool newer = CheckNewVersion(g);

  FUZZ_CHECK(newer || f.plat.messageBoxes.empty());
  FUZZ_CHECK(f.plat.openedUrls.size() <= 1);
  const std::string folder = WebSite(g) + "/Games/Vorlan/";
  for (const auto& url : f.plat.openedUrls) {
    FUZZ_CHECK(url.starts_with(folder));
    std::string_view rest = std::string_view(url).substr(folder.size());
    FUZZ_CHECK(!rest.empty() && rest.size() <= 40 && rest.front() != '.');
    FUZZ_CHECK(rest.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ._-") ==
               std::string_view::npos);
  }
  return 0;
}
