// Data files shipped in OtherFiles: the soldier files, the default local and world score archives,
// the world page template, the web site address, the default options and the upload list.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "content.h"
#include "noise.h"
#include "persistence/high_scores.h"
#include "persistence/options_file.h"

namespace content {
namespace {

namespace fs = std::filesystem;

}  // namespace

fs::path Existing(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  };
  std::string want = lower(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (lower(it->path().filename().string()) == want) return it->path();
  return dir / name;
}

namespace {

// Lines with CR LF, written beside the target and renamed over it.
bool WriteLines(const fs::path& file, const std::vector<std::string>& lines) {
  fs::path tmp = file;
  tmp += ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    for (const std::string& l : lines) f << l << "\r\n";
    f.flush();
    if (!f) return false;
  }
  std::error_code ec;
  fs::rename(tmp, file, ec);
  if (ec) fs::remove(tmp, ec);
  return !ec;
}

// A keyed soldier-file line: key in columns 1-20, a blank, the value from column 22.
std::string KeyLine(const std::string& key, const std::string& value) {
  std::string k = key;
  k.resize(20, ' ');
  return k + " " + value;
}

// ---- Score records ---------------------------------------------------------------------------

struct Result {
  int score, kills, minutes, seconds, accuracy, recharge, bulletSpeed, melee, timesPlayed;
  std::string date, name;
};

// The game's own record line and scrambling, so the defaults read back exactly as saved tables do.
std::string ArchiveLine(const Result& r) {
  using vorlan::PadNumber;
  namespace col = vorlan::col;
  vorlan::ScoreRecord rec;
  rec.Score = PadNumber(r.score, col::Score);
  rec.Kills = PadNumber(r.kills, col::Kills);
  rec.Time = vorlan::TwoDigits(r.minutes) + ":" + vorlan::TwoDigits(r.seconds);
  rec.Accuracy = PadNumber(r.accuracy, col::Accuracy);
  rec.Recharge = PadNumber(r.recharge, col::Recharge);
  rec.BulletSpeed = PadNumber(r.bulletSpeed, col::BulletSpeed);
  rec.Melee = PadNumber(r.melee, col::Melee);
  rec.MaxHealth = PadNumber((r.bulletSpeed + 3) * 30, col::MaxHealth);  // Power x 30
  rec.MaxAmmo = PadNumber((r.recharge + 1) * 15, col::MaxAmmo);         // (16 - RechargeTime) x 15
  rec.TimesPlayed = PadNumber(r.timesPlayed, col::TimesPlayed);
  rec.Date = r.date;
  rec.Name = r.name;
  std::string line = vorlan::RecordLine(rec);
  return vorlan::ScrambleText(line, vorlan::kScrambleKey);
}

const char* kNames[] = {
    "Ashgrove", "Bramble", "Corporal kettle", "Dunmore", "Elmstead", "Fenwick", "Gravel",      "Hollis",
    "Ironside", "Juniper", "Kestrel",         "Larkin",  "Marrow",   "Nettle",  "Oakley",      "Pike",
    "Quarry",   "Rook",    "Sorrel",          "Thistle", "Umber",    "Vane",    "Wicker",      "Yarrow",
    "Zinnia",   "Badger",  "Cinder",          "Dusty",   "Flint",    "Heron",   "Moss",        "Old sarge",
    "Pebble",   "Rusty",   "Sparrow",         "Tinker",  "Wren",     "Lucky",   "Muddy boots", "Shepherd"};

// Invented results, best first: scores fall off smoothly from top to tail, skills grow with score.
std::vector<Result> Results(int count, int top, int bottom, uint32_t seed) {
  std::vector<Result> out;
  Rng rng(seed);
  const int nNames = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  int prev = top + 1;
  for (int i = 0; i < count; ++i) {
    float k = count > 1 ? i / float(count - 1) : 0.f;
    int score = static_cast<int>(top * std::pow(bottom / float(top), k) * rng.Range(0.96f, 1.04f));
    score = std::max(1, std::min(score, prev - 1));
    prev = score;
    Result r;
    r.score = score;
    float skill = std::clamp(std::log(score / 10.f + 1.f) / std::log(400.f), 0.f, 1.f);
    r.accuracy = static_cast<int>(skill * 6 + rng.Range(0, 2));
    r.recharge = static_cast<int>(skill * 5 + rng.Range(0, 2));
    r.bulletSpeed = static_cast<int>(skill * 4 + rng.Range(0, 2));
    r.melee = static_cast<int>(skill * 3 + rng.Range(0, 1.5f));
    r.kills = std::max(1, score / 9 + static_cast<int>(rng.Range(-2, 3)));
    int secs = 40 + score / 3 + static_cast<int>(rng.Range(0, 50));
    r.minutes = std::min(99, secs / 60);
    r.seconds = secs % 60;
    r.timesPlayed = 1 + static_cast<int>(rng.Range(0, 40));
    int month = 1 + static_cast<int>(rng.Range(0, 11.99f)), day = 1 + static_cast<int>(rng.Range(0, 27.99f));
    r.date = "2026" + std::string(month < 10 ? "0" : "") + std::to_string(month) + (day < 10 ? "0" : "") +
             std::to_string(day);
    r.name = kNames[(i * 7 + static_cast<int>(seed)) % nNames];
    out.push_back(r);
  }
  return out;
}

std::vector<std::string> Template() {
  return {
      "<HTML>",
      "<HEAD>",
      "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=windows-1252'>",
      "<TITLE>Vorlan: Iron Meadow - World Top 100</TITLE>",
      "<STYLE TYPE='text/css'>",
      "BODY { background-color: #1E2418; color: #E8E4C8; font-family: Arial, Helvetica, sans-serif; }",
      "TABLE { border-collapse: collapse; }",
      "TD { padding: 2px 6px; border-bottom: 1px solid #3A4630; }",
      "A { color: #F0D890; text-decoration: none; }",
      "</STYLE>",
      "</HEAD>",
      "<BODY>",
      "<CENTER>",
      "<FONT SIZE='5' COLOR='#F0D890'><B>VORLAN: IRON MEADOW</B><BR>",
      "</FONT><FONT SIZE='2'>Not updated yet</FONT><BR>",
      "<FONT SIZE='3'>World Top 100</FONT><BR>",
      "<BR>",
      "<TABLE WIDTH='90%' BORDER='0' CELLSPACING='0'>",
      "    <TR>",
      "        <TD WIDTH='5%'><FONT NAME='Arial' SIZE='2'><B>Place</B></FONT></TD>",
      "        <TD WIDTH='5%'><FONT NAME='Arial' SIZE='2'><B>Score</B></FONT></TD>",
      "        <TD WIDTH='60%'><FONT NAME='Arial' SIZE='2'><B>Name</B></FONT></TD>",
      "        <TD WIDTH='30%'><FONT NAME='Arial' SIZE='2'><B>Rank</B></FONT></TD>",
      "    </TR>",
      "    <TR>",
      "        <TD COLSPAN='4'></TD>",
      "    </TR>",
      "<!-- results follow -->",
  };
}

bool Report(bool ok, const fs::path& file, int& failures) {
  if (!ok) {
    std::fprintf(stderr, "vorlan_content: cannot write %s\n", file.c_str());
    ++failures;
  }
  return ok;
}

}  // namespace

int WriteDataFiles(const fs::path& programDir, std::vector<std::string>* written) {
  int failures = 0;
  fs::path other = Existing(programDir, "OtherFiles");
  fs::path upload = Existing(programDir, "Upload");
  // A file every build writes anew.
  auto always = [&](const std::string& name, const std::vector<std::string>& lines) {
    fs::path file = Existing(other, name);
    Report(WriteLines(file, lines), file, failures);
    if (written) written->push_back("OtherFiles/" + name);
  };

  // The player: only the name survives the new-game set-up, the rest is a believable recruit.
  always("DEFAULT.txt", {KeyLine("NA", "Recruit"), KeyLine("OM", "60"), KeyLine("DE", "10"),
                         KeyLine("HT", "90"), KeyLine("EL", "30"), KeyLine("EE", "0"), KeyLine("ED", "3"),
                         KeyLine("GN", "20"), KeyLine("EM", "12"), "END"});
  // An enemy rifleman: his name and melee skill reach the battle.
  always("LVL1.txt", {KeyLine("NA", "Rifleman"), KeyLine("OM", "10"), KeyLine("DE", "10"),
                      KeyLine("HT", "20"), KeyLine("EL", "30"), KeyLine("EE", "1"), KeyLine("ED", "3"),
                      KeyLine("GN", "20"), KeyLine("EM", "20"), "END"});

  // Default local top ten (plus the overflow slot): modest results a new player can beat.
  std::vector<std::string> lines;
  for (const Result& r : Results(11, 1500, 40, 7)) lines.push_back(ArchiveLine(r));
  lines.push_back("END");
  always("Temp.txt", lines);

  // Default world table: a hundred places and the overflow slot, the upload counter, two dates.
  lines.clear();
  for (const Result& r : Results(101, 6000, 60, 11)) lines.push_back(ArchiveLine(r));
  lines.insert(lines.end(), {"END", "0", "01.12.2026", "01.12.2026"});
  always("Temp2.txt", lines);

  always("default.htm", Template());
  always("WebSite.txt", {"http://127.0.0.1:8421"});
  // The empty list copied to Upload when a player's list is missing.
  always("upload.txt", {});

  // Files the player's games change are written only when absent: never lose settings or
  // pending uploads to a rebuild.
  fs::path file = Existing(upload, "upload.txt");
  std::error_code ec;
  if (!fs::exists(file, ec) && !ec) Report(WriteLines(file, {}), file, failures);
  file = Existing(other, "Options.txt");
  if (!fs::exists(file, ec) && !ec) {
    Report(WriteLines(file, vorlan::OptionsFileLines(vorlan::ShippedOptions())), file, failures);
  }
  return failures;
}

}  // namespace content
