// The world table of the best 100 results of all players: loading the shared archive, merging
// the local top ten into it, saving it and publishing it as an HTML page.
#include "worldscores/world_table.h"

#include <algorithm>
#include <cstdio>

#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/high_scores.h"
#include "text.h"
#include "worldscores/score_server.h"

namespace vorlan {

namespace {

constexpr int kPlaces = 100;  // slots 0 to 99 are shown, slot 100 is the overflow
constexpr int kStored = 101;  // slots written to the archive
// A real archive is 105 lines of about 125 bytes; anything far beyond that is damage or malice.
constexpr size_t kMaxArchiveBytes = 1 << 20;
constexpr size_t kMaxArchiveLines = WorldScoreState::kSlots + 3;
constexpr size_t kMaxRecordLength = 256;
constexpr size_t kMaxDateLength = 32;
constexpr int kTemplateLines = 28;

const char* kArchive = "c:\\Windows\\AtopwVo118.vor";
const char* kPlainCopy = "c:\\Windows\\AtopwUNCRYPTED.vor";
const char* kBackup = "c:\\Windows\\AtopwCopy.vor";

// A number from the archive as an integer, held to a sane range (the archive may be hostile).
long long Bounded(double v, double limit) {
  if (!(v > -limit)) return static_cast<long long>(-limit);
  if (!(v < limit)) return static_cast<long long>(limit);
  return static_cast<long long>(v);
}

// The proof picture's stem: integer score, kills and date one after the other.
std::string ProofName(const WorldScoreState& ws, int i) {
  constexpr double kLimit = 1e15;
  return IntText(Bounded(WholeNum(ws.WsScore[i]), kLimit)) +
         IntText(Bounded(WholeNum(ws.WsKills[i]), kLimit)) + IntText(Bounded(WholeNum(ws.WsDate[i]), kLimit));
}

}  // namespace

ScoreRecord WsRecord(const WorldScoreState& ws, int slot) {
  ScoreRecord r;
  r.Score = ws.WsScore[slot];
  r.Kills = ws.WsKills[slot];
  r.Time = ws.WsTime[slot];
  r.Accuracy = ws.WsAccuracy[slot];
  r.Recharge = ws.WsRecharge[slot];
  r.BulletSpeed = ws.WsBulletSpeed[slot];
  r.Melee = ws.WsMelee[slot];
  r.MaxHealth = ws.WsMaxHealth[slot];
  r.MaxAmmo = ws.WsMaxAmmo[slot];
  r.TimesPlayed = ws.WsTimesPlayed[slot];
  r.Date = ws.WsDate[slot];
  r.Name = ws.WsName[slot];
  return r;
}

void SetWsRecord(WorldScoreState& ws, int slot, const ScoreRecord& r) {
  ws.WsScore[slot] = r.Score;
  ws.WsKills[slot] = r.Kills;
  ws.WsTime[slot] = r.Time;
  ws.WsAccuracy[slot] = r.Accuracy;
  ws.WsRecharge[slot] = r.Recharge;
  ws.WsBulletSpeed[slot] = r.BulletSpeed;
  ws.WsMelee[slot] = r.Melee;
  ws.WsMaxHealth[slot] = r.MaxHealth;
  ws.WsMaxAmmo[slot] = r.MaxAmmo;
  ws.WsTimesPlayed[slot] = r.TimesPlayed;
  ws.WsDate[slot] = r.Date;
  ws.WsName[slot] = r.Name;
}

// Loading (`LoadWorldScores`).
void LoadWorldScores(Game& g) {
  auto& ws = g.ws;
  ws.WsLoadCounter = Sat16(ws.WsLoadCounter + 1);
  if (ws.WsLoadCounter >= 10000) ws.WsLoadCounter = 0;
  if (ws.WsLoadCounter != 1) return;

  auto archive = g.PathOf(kArchive);
  if (archive.empty()) return;
  if (!FileExists(archive)) CopyFileOver(g.PathOf("\\OtherFiles\\Temp2.txt"), archive);
  ReadWorldArchive(archive, ws);
}

void ReadWorldArchive(const std::filesystem::path& archive, WorldScoreState& ws) {
  auto lines = ReadLines(archive, {.maxBytes = kMaxArchiveBytes,
                                   .maxLines = kMaxArchiveLines,
                                   .maxLineLength = kMaxRecordLength,
                                   .crLfOnly = true,
                                   .dropUnfinished = true});
  if (!lines) return;

  // The table shows what the file holds: slots the file does not fill are emptied.
  size_t at = 0;
  int slot = 0;
  for (; slot < WorldScoreState::kSlots && at < lines->size(); ++slot) {
    std::string line = (*lines)[at++];
    if (line == "END") break;
    // A line of junk is an empty place, never a made-up result.
    std::string plain = ScrambleText(line, kScrambleKey);
    ScoreRecord r = LooksLikeRecord(plain) ? ParseRecordLine(plain) : ScoreRecord{};
    // Names come from other players; control characters have no place on screen or page.
    for (char& c : r.Name)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    SetWsRecord(ws, slot, r);
  }
  for (; slot < WorldScoreState::kSlots; ++slot) SetWsRecord(ws, slot, ScoreRecord{});
  if (at < lines->size() && (*lines)[at - 1] != "END" && (*lines)[at] == "END") ++at;

  if (at < lines->size()) {
    ws.WsPrevUploads = ws.WsUploads;
    ws.WsUploads = Nearest16(Num((*lines)[at++]));
    if (at < lines->size()) {
      ws.WsLastUpdate = (*lines)[at].substr(0, kMaxDateLength);
      ws.WsLastUpdateRaw = ws.WsLastUpdate;
    }
  }
}

bool MergeResult(WorldScoreState& ws, const ScoreRecord& result) {
  double s = WholeNum(result.Score);
  // An empty result beats nothing; keeping it out spares the overflow slot.
  if (s <= 0) return false;
  for (int j = 0; j < kPlaces; ++j)
    if (WholeNum(ws.WsScore[j]) == s && Trim(ws.WsName[j]) == Trim(result.Name)) return false;
  int target = 0;
  for (int j = kPlaces - 1; j >= 0; --j) {
    if (WholeNum(ws.WsScore[j]) >= s) {
      target = j + 1;
      break;
    }
    SetWsRecord(ws, j + 1, WsRecord(ws, j));
    ws.WsMark[j + 1] = 2;
  }
  SetWsRecord(ws, target, result);
  ws.WsMark[target] = 1;
  return true;
}

bool HoldsResultsOf(const WorldScoreState& server, const WorldScoreState& ours) {
  for (int i = 0; i < kPlaces; ++i) {
    double s = WholeNum(ours.WsScore[i]);
    if (s <= 0) break;
    if (WholeNum(server.WsScore[kPlaces - 1]) >= s) break;  // pushed out of the places by better ones
    bool found = false;
    for (int j = 0; j < kPlaces && !found; ++j)
      found = WholeNum(server.WsScore[j]) == s && Trim(server.WsName[j]) == Trim(ours.WsName[i]);
    if (!found) return false;
  }
  return true;
}

void RemergeWorldScores(Game& g, const std::filesystem::path& serverArchive) {
  auto& ws = g.ws;
  WorldScoreState ours;  // what we were about to upload
  ReadWorldArchive(g.PathOf(kArchive), ours);
  ReadWorldArchive(serverArchive, ws);
  // An archive older than the one ours came from (left taken by a client) does not set the
  // counter back; ours already counts its own upload.
  ws.WsUploads = std::max(ws.WsUploads, Sat16(ours.WsUploads - 1));
  std::fill(ws.WsMark.begin(), ws.WsMark.end(), 0);
  for (int i = 0; i < kPlaces; ++i) MergeResult(ws, WsRecord(ours, i));
  WriteWorldPage(g);
  WriteWorldFiles(g);
}

// Merging (`WorldSync`).
void WorldSync(Game& g) {
  auto& ws = g.ws;
  if (!CheckConnection(g)) return;
  ShowStage(g, "Loading..");
  HighScoreCheck(g, 0);
  ws.WsLoadCounter = 0;
  LoadWorldScores(g);
  ShowStage(g, "Loading.......");

  // The server's copy is older than our last upload: put our backup back instead of merging.
  // Without a backup there is nothing better to restore, so the merge goes ahead.
  if (ws.WsPrevUploads > ws.WsUploads + 1 && FileExists(g.PathOf(kBackup))) {
    CopyFileOver(g.PathOf(kBackup), g.PathOf(kArchive));
    UploadScores(g);
    return;
  }

  for (int i = 0; i < 10; ++i)
    if (MergeResult(ws, HsRecord(g.hs, i))) ShowStage(g, "Synchronizing..");

  WriteWorldPage(g);
  SaveWorldScores(g);
}

std::vector<std::string> WorldArchiveLines(const WorldScoreState& ws, bool scrambled,
                                           std::string_view todayDots) {
  std::vector<std::string> lines;
  lines.reserve(kStored + 4);
  for (int i = 0; i < kStored; ++i) {
    std::string line = RecordLine(WsRecord(ws, i));
    lines.push_back(scrambled ? ScrambleText(line, kScrambleKey) : line);
  }
  lines.push_back("END");
  lines.push_back(IntText(Sat16(ws.WsUploads + 1)));
  lines.push_back(std::string(todayDots));
  lines.push_back(ws.WsLastUpdateRaw);
  return lines;
}

// Saving (`SaveWorldScores`).
void SaveWorldScores(Game& g) {
  WriteWorldFiles(g);
  UploadScores(g);
}

void WriteWorldFiles(Game& g) {
  std::string today = DottedDate(g.plat.TodayText());
  ShowStage(g, "Saving..");
  WriteTextLines(g.PathOf(kArchive), WorldArchiveLines(g.ws, true, today));
  ShowStage(g, "Saving..");
  WriteTextLines(g.PathOf(kPlainCopy), WorldArchiveLines(g.ws, false, today));
  CopyFileOver(g.PathOf(kPlainCopy), g.PathOf("\\OtherFiles\\WorldScores.txt"));
}

std::string DottedDate(std::string_view d) {
  if (d.size() != 8) return std::string(d);
  return std::string(d.substr(6, 2)) + "." + std::string(d.substr(4, 2)) + "." + std::string(d.substr(0, 4));
}

long CutOffDate(std::string_view today) {
  long n = static_cast<long>(Num(today));
  long y = n / 10000, m = (n / 100) % 100, d = n % 100;
  if (d == 31) {
    d = 1;
  } else if (--m < 1) {
    m = 12;
    --y;
  }
  return y * 10000 + m * 100 + d;
}

std::string LevelTitle(int level) {
  static const char* kTitles[] = {"Private", "Squad Leader", "Sergeant", "Lieutenant", "Captain",
                                  "Mayor",   "Colonel",      "General",  "Admiral"};
  if (level < 5) return kTitles[0];
  if (level >= 44) return "Marshal";  // beyond the highest rank of the table
  return kTitles[level / 5];
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    }
  }
  return out;
}

std::string WebSite(Game& g) {
  std::string site = "http://127.0.0.1:8421";
  auto lines = ReadLines(g.PathOf("\\OtherFiles\\WebSite.txt"), kOneLineFile);
  if (lines && !lines->empty()) {
    std::string t = Trim((*lines)[0]);
    while (!t.empty() && (t.back() == '/' || t.back() == '\r' || t.back() == '\t')) t.pop_back();
    if (!t.empty()) site = t;
  }
  return site;
}

namespace {

struct Country {
  const char* code;
  const char* english;
  const char* native;  // Windows-1252
};

const Country kCountries[] = {
    {"US", "United States", "United States"},
    {"GB", "United Kingdom", "United Kingdom"},
    {"IE", "Ireland", "\xC9ire"},
    {"CA", "Canada", "Canada"},
    {"AU", "Australia", "Australia"},
    {"NZ", "New Zealand", "New Zealand"},
    {"DE", "Germany", "Deutschland"},
    {"AT", "Austria", "\xD6sterreich"},
    {"CH", "Switzerland", "Schweiz"},
    {"FR", "France", "France"},
    {"BE", "Belgium", "Belgi\xEB"},
    {"NL", "Netherlands", "Nederland"},
    {"LU", "Luxembourg", "Luxembourg"},
    {"ES", "Spain",
     "Espa\xF1"
     "a"},
    {"PT", "Portugal", "Portugal"},
    {"IT", "Italy", "Italia"},
    {"DK", "Denmark", "Danmark"},
    {"NO", "Norway", "Norge"},
    {"SE", "Sweden", "Sverige"},
    {"FI", "Finland", "Suomi"},
    {"IS", "Iceland", "\xCDsland"},
    {"PL", "Poland", "Polska"},
    {"CZ", "Czech Republic",
     "\xC8"
     "esk\xE1 republika"},
    {"HU", "Hungary", "Magyarorsz\xE1g"},
    {"BR", "Brazil", "Brasil"},
    {"MX", "Mexico", "M\xE9xico"},
    {"AR", "Argentina", "Argentina"},
    {"ZA", "South Africa", "South Africa"},
    {"IN", "India", "India"},
    {"TR", "Turkey", "T\xFCrkiye"},
};

}  // namespace

// The user's locale comes from the usual variables ("de_AT.UTF-8"); its territory names the country.
std::string GetLocaleString(Game& g, int kind) {
  std::string locale;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = g.plat.GetEnv(var);
    if (!locale.empty()) break;
  }
  std::string code = "US";
  if (!locale.empty()) {
    std::string_view l(locale);
    size_t us = l.find('_');
    if (us != std::string_view::npos && us + 3 <= l.size()) code = std::string(l.substr(us + 1, 2));
  }
  for (const auto& c : kCountries) {
    if (code == c.code) return kind == 8 ? c.native : c.english;
  }
  // An unlisted territory: its two-letter code in both forms.
  std::string safe;
  for (char ch : code)
    if (ch >= 'A' && ch <= 'Z') safe += ch;
  return safe.empty() ? "United States" : safe;
}

// The HTML page (`WriteWorldPage`).
void WriteWorldPage(Game& g) {
  const auto& ws = g.ws;
  std::string todayRaw = g.plat.TodayText();
  std::string today = DottedDate(todayRaw);
  std::string uploads = IntText(Sat16(ws.WsUploads + 1));
  std::string site = HtmlEscape(WebSite(g));
  std::string imageBase = site;
  std::string proofBase = site + "/Games/Vorlan/scores";
  long cutOff = CutOffDate(todayRaw);

  auto head = ReadLines(g.PathOf("\\OtherFiles\\default.htm"),
                        {.maxBytes = 1 << 20, .maxLines = kTemplateLines, .maxLineLength = 1 << 16});
  std::string origin = "Last update came from " + HtmlEscape(GetLocaleString(g, 0x1002)) + " (" +
                       HtmlEscape(GetLocaleString(g, 8)) + ")";

  std::vector<std::string> out;
  if (head) {
    for (size_t i = 0; i < head->size(); ++i) {
      if (i == 14) {
        out.push_back("</FONT><FONT SIZE='2'>" + today + " / " + uploads + " uploads</FONT><BR>");
        out.push_back("</FONT><FONT SIZE='2'>" + origin + "</FONT>");
      } else {
        out.push_back((*head)[i]);
      }
    }
  }

  for (int i = 0; i < kPlaces; ++i) {
    if (!(WholeNum(ws.WsScore[i]) > 0)) break;
    char place[16];
    std::snprintf(place, sizeof place, "%03d.", i + 1);
    const char* age = Num(ws.WsDate[i]) >= static_cast<double>(cutOff) ? "new" : "old";
    int level = static_cast<int>(Bounded(Nearest(Num(ws.WsAccuracy[i]) + Num(ws.WsRecharge[i]) +
                                                 Num(ws.WsBulletSpeed[i]) + Num(ws.WsMelee[i])),
                                         1e6));
    const std::string cell = "        <TD WIDTH='5%'><FONT NAME='Arial' SIZE='2'>";
    out.push_back("    <TR>");
    out.push_back(cell + place + "</FONT></TD>");
    out.push_back(cell + HtmlEscape(ws.WsScore[i]) + "</FONT></TD>");
    out.push_back("        <TD WIDTH='60%'><IMG SRC='" + imageBase + "/Games/Vorlan/VorlanWS" + age +
                  ".jpg' WIDTH='10' HEIGHT='11' ALIGN='BOTTOM' BORDER='0'><A HREF='" + proofBase + "/" +
                  ProofName(ws, i) + ".jpg' TARGET='_blank'> " + "<FONT NAME='Arial' SIZE='2'>" +
                  HtmlEscape(ws.WsName[i]) + "</FONT></A></TD>");
    out.push_back("        <TD WIDTH='30%'><FONT NAME='Arial' SIZE='2'>" + IntText(level) + " " +
                  LevelTitle(level) + "</FONT></TD>");
    out.push_back("    </TR>");
  }

  out.push_back("</TABLE>");
  out.push_back("<BR>");
  out.push_back("Last update: " + today + "<BR>");
  out.push_back("Updates by all users: " + uploads + "<BR>");
  out.push_back(origin + "<BR><BR>");
  out.push_back("");
  out.push_back("</CENTER>");
  out.push_back("</BODY>");
  out.push_back("</HTML>");
  WriteTextLines(g.PathOf("\\OtherFiles\\worldscoresVo118.htm"), out);
}

}  // namespace vorlan
