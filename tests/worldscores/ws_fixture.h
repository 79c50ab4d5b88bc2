// One player's machine for the world-score tests: a program folder with the game's data files,
// a data folder, a headless platform and a game, plus helpers to fill and read the tables.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "platform/headless_platform.h"
#include "platform/network.h"
#include "support/score_server.h"
#include "worldscores/world_table.h"

namespace vorlan::testing {

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// A result with the local table's padding.
inline ScoreRecord Result(long score, const std::string& name, long kills = 10, long date = 20251220,
                          int skill = 3) {
  ScoreRecord r;
  r.Score = PadNumber(score, col::Score);
  r.Kills = PadNumber(kills, col::Kills);
  r.Time = "03:07";
  r.Accuracy = PadNumber(skill, col::Accuracy);
  r.Recharge = PadNumber(skill, col::Recharge);
  r.BulletSpeed = PadNumber(skill, col::BulletSpeed);
  r.Melee = PadNumber(skill, col::Melee);
  r.MaxHealth = PadNumber(120, col::MaxHealth);
  r.MaxAmmo = PadNumber(150, col::MaxAmmo);
  r.TimesPlayed = PadNumber(7, col::TimesPlayed);
  r.Date = PadNumber(date, col::Date);
  r.Name = name;
  return r;
}

// A 28-line page head like the one the web site serves, line 15 being the one replaced.
inline std::string TemplateText() {
  std::string t;
  for (int i = 1; i <= 28; ++i)
    t += (i == 15 ? std::string("LINE15") : "<!-- head " + std::to_string(i) + " -->") + "\r\n";
  return t;
}

// A platform whose network is the offline one (no interface, nothing answers).
class OfflinePlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  Network& Net() override { return offline; }
  Network offline;
};

struct Machine {
  std::filesystem::path program, data;
  std::unique_ptr<HeadlessPlatform> plat;
  std::unique_ptr<Game> g;

  explicit Machine(const std::string& site, bool offline = false) {
    program = FreshFolder("program");
    data = FreshFolder("data");
    WriteBytes(program / "OtherFiles" / "WebSite.txt", site + "\r\n");
    WriteBytes(program / "OtherFiles" / "default.htm", TemplateText());
    std::filesystem::create_directories(program / "upload");
    // The default world table: empty records and the counter 0.
    WorldScoreState blank;
    blank.WsUploads = -1;
    blank.WsLastUpdateRaw = "01.01.2026";
    std::string temp2;
    for (const auto& l : WorldArchiveLines(blank, true, "01.01.2026")) temp2 += l + "\r\n";
    WriteBytes(program / "OtherFiles" / "Temp2.txt", temp2);
    if (offline)
      plat = std::make_unique<OfflinePlatform>(program, data);
    else
      plat = std::make_unique<HeadlessPlatform>(program, data);
    g = std::make_unique<Game>(*plat);
    NetLimits limits;
    limits.connectSeconds = 2;
    limits.stallSeconds = 2;
    limits.totalSeconds = 20;
    g->plat.Net().SetLimits(limits);
  }
  ~Machine() {
    g.reset();
    plat.reset();
    std::error_code ec;
    std::filesystem::remove_all(program, ec);
    std::filesystem::remove_all(data, ec);
  }

  // Puts results into the local table as if it had been loaded from its archive.
  void Local(std::initializer_list<ScoreRecord> results) {
    int i = 0;
    for (const auto& r : results) SetHsRecord(g->hs, i++, r);
    for (; i < kHsSlots; ++i) SetHsRecord(g->hs, i, ScoreRecord{});
    g->hs.HsLoadCounter = 1;  // the next load call keeps the table in memory
  }
  // A world-score screen pass reads the archive again after a synchronisation.
  void ScreenLoad() { LoadWorldScores(*g); }
  std::filesystem::path Archive() const { return data / "AtopwVo118.vor"; }
  std::filesystem::path Backup() const { return data / "AtopwCopy.vor"; }
  std::filesystem::path Page() const { return program / "OtherFiles" / "worldscoresVo118.htm"; }
};

// Reads a world archive file into a fresh table.
inline std::unique_ptr<Machine> ReadArchive(const std::filesystem::path& file) {
  auto m = std::make_unique<Machine>("http://127.0.0.1:9", true);
  std::filesystem::copy_file(file, m->Archive(), std::filesystem::copy_options::overwrite_existing);
  LoadWorldScores(*m->g);
  return m;
}

// How often a name appears in places 1 to 100.
inline int Count(const WorldScoreState& ws, const std::string& name) {
  int n = 0;
  for (int i = 0; i < 100; ++i) n += ws.WsName[i] == name;
  return n;
}

}  // namespace vorlan::testing
