// The exchange with the score server (module FTPmod): connection check, version check, the
// download that starts a synchronisation and the upload that ends it. Everything runs in the
// main thread, which keeps handling window events while it waits; a server that does not answer,
// the deadline, Escape or closing the window end the synchronisation with the local tables as
// they were.
//
// Many players share one archive and there is no lock on the server, so a client replaces it in
// steps that lose nobody's results: it takes the archive away under a name of its own (a rename,
// which only one client can win), merges in what changed since it fetched it, uploads its own
// under another name of its own, renames that into place and fetches it again to check.
#include "worldscores/score_server.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <random>

#include "numbers.h"
#include "platform/key_map.h"
#include "platform/network.h"
#include "shell/display.h"
#include "text.h"
#include "worldscores/world_table.h"

namespace vorlan {

namespace {

const char* kArchive = "c:\\Windows\\AtopwVo118.vor";
const char* kBackup = "c:\\Windows\\AtopwCopy.vor";
const char* kServerCopy = "c:\\Windows\\AtopwServer.vor";  // the server's archive fetched again
const char* kServerFile = "AtopwVo118.vor";
const char* kServerUpload = "AtopwVo118.tmp";
// An archive taken away by a client that is replacing it: the archive's name, ".", a name of its own.
const std::string kHeldPrefix = std::string(kServerFile) + ".";
constexpr size_t kMaxFtpDir = 260;
constexpr int kMaxUploadLines = 30;
// Waiting for other clients ends after this long; an archive held by the same client for this
// long was left behind by one that stopped halfway, and is put back.
constexpr int kMaxWaitMs = 20000;
constexpr int kStaleHoldMs = 8000;

const char* kNoAnswer = "SERVER NOT REACHABLE";
const char* kRefused = "SERVER REFUSED";

// Characters from..to (1-based, inclusive) of a fixed-column line, trimmed.
std::string Column(std::string_view line, size_t from, size_t to) { return Trim(Columns(line, from, to)); }

std::string FirstLine(const std::filesystem::path& file) {
  auto lines = ReadLines(file, kOneLineFile);
  return (lines && !lines->empty()) ? (*lines)[0] : std::string();
}

// The host part of a web address ("http://127.0.0.1:8421/x" gives "127.0.0.1").
std::string HostOf(std::string_view url) {
  size_t scheme = url.find("://");
  if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  url = url.substr(0, url.find('/'));
  size_t at = url.rfind('@');
  if (at != std::string_view::npos) url.remove_prefix(at + 1);
  if (!url.empty() && url.front() == '[') return std::string(url.substr(0, url.find(']') + 1));
  return std::string(url.substr(0, url.find(':')));
}

// A file name the web site may announce for download: letters, digits and ". _ -" only.
bool PlainDownloadName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-')) return false;
  return true;
}

// Ends a synchronisation that cannot go on: the session is closed, nothing local is touched.
// The first reason given is the one shown and written to standard error.
void AbortSync(Game& g, std::string_view reason) {
  auto& ws = g.ws;
  if (ws.SyncFailure.empty()) ws.SyncFailure = std::string(reason);
  if (!ws.SyncAborted) std::fprintf(stderr, "vorlan: world scores not synchronised: %s\n", ws.SyncFailure.c_str());
  ws.SyncAborted = true;
  ws.SyncHolding = false;
  g.plat.Net().FtpClose();
}

// Asked by the network while it waits: keeps the window alive and says whether to go on. A stop
// asked for while we hold the server's archive waits until it is back in place.
bool KeepSyncing(Game& g) {
  auto& ws = g.ws;
  DoEvents(g);
  uint8_t keys[256] = {};
  bool escape = g.plat.HasFocus() && g.plat.GetKeyboardState(keys) && keys[dik::Escape];
  if (ws.SyncFailure.empty()) {
    if (g.form.Quit || escape)
      ws.SyncFailure = "CANCELLED";
    else if (static_cast<int32_t>(g.plat.GetTickCount() - ws.SyncDeadline) >= 0)
      ws.SyncFailure = "TIMED OUT";
  }
  return ws.SyncFailure.empty() || ws.SyncHolding;
}

// Other clients' random draws must not match ours, and the game's own generator stays untouched.
uint32_t RandomBits() {
  static std::random_device device;
  return device();
}

// A name of our own on the server: the time first, so that names sort by age, then random digits.
std::string OwnName() {
  char text[32];
  std::snprintf(text, sizeof text, "%010lld%08x%08x", static_cast<long long>(std::time(nullptr)), RandomBits(),
                RandomBits());
  return text;
}

// A random back-off that grows with the attempts, so that clients that collided spread out.
int BackOffMs(int attempt) { return 10 + static_cast<int>(RandomBits() % (20u << std::min(attempt, 4))); }

bool Lists(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The newest archive held by another client, or "".
std::string HeldByOthers(const std::vector<std::string>& names, const std::vector<std::string>& ours) {
  std::string newest;
  for (const auto& n : names)
    if (n.rfind(kHeldPrefix, 0) == 0 && !Lists(ours, n) && n > newest) newest = n;
  return newest;
}

// What the server's folder shows of the archive. The listing is a second opinion only: a folder
// read while another client renames a file may miss it.
struct ArchiveSight {
  bool ok = false;      // the server answered
  bool here = false;    // the archive is there (perhaps not readable to us)
  std::string holder;   // the newest archive held by another client
  std::vector<std::string> names;
};

ArchiveSight LookAtArchive(Game& g, const std::vector<std::string>& ours) {
  Network& net = g.plat.Net();
  ArchiveSight s;
  NetStatus exists = net.FtpExists(kServerFile);
  auto names = net.FtpList();
  if (exists == NetStatus::Failed || !names) return s;
  s.ok = true;
  s.names = std::move(*names);
  s.here = exists == NetStatus::Ok || Lists(s.names, kServerFile);
  s.holder = HeldByOthers(s.names, ours);
  return s;
}

// Nothing seen of the archive this many times in a row, with pauses, means there is none.
constexpr int kAbsentSightings = 3;
constexpr int kRefusalsMeaningNo = 8;
constexpr int kTransferRetries = 2;

// Waiting for another client that holds the archive. Counts how long the same one held it; one
// that held it too long stopped halfway and its archive is put back.
struct HolderWait {
  std::string seen;
  int seenMs = 0, totalMs = 0;

  // False when the synchronisation must end (it has then been ended).
  bool Wait(Game& g, const std::string& holder, int attempt) {
    Network& net = g.plat.Net();
    if (holder != seen) {
      seen = holder;
      seenMs = 0;
    }
    if (!holder.empty() && seenMs >= kStaleHoldMs) {
      net.FtpRename(holder, kServerFile);
      seenMs = 0;
    }
    if (totalMs >= kMaxWaitMs) {
      AbortSync(g, "SERVER BUSY");
      return false;
    }
    int ms = BackOffMs(attempt);
    if (net.Wait(ms) != NetStatus::Ok) {
      AbortSync(g, kNoAnswer);
      return false;
    }
    seenMs += ms;
    totalMs += ms;
    return true;
  }
};

enum class Fetched { Archive, NoArchive, Stopped };

// Fetches the server's archive. A refused download may be a permission or a client replacing
// it; only a listing without the archive, and without anyone holding it, means there is none.
Fetched FetchServerArchive(Game& g, const std::filesystem::path& local) {
  Network& net = g.plat.Net();
  HolderWait wait;
  int refused = 0, absent = 0;
  for (int attempt = 0;; ++attempt) {
    NetStatus got = net.FtpGet(kServerFile, local, false);
    if (got == NetStatus::Ok) return Fetched::Archive;
    if (got == NetStatus::Failed) {
      AbortSync(g, kNoAnswer);
      return Fetched::Stopped;
    }
    ArchiveSight sight = LookAtArchive(g, {});
    if (!sight.ok) {
      AbortSync(g, kRefused);
      return Fetched::Stopped;
    }
    // There, held by nobody, and refused again and again: not other clients replacing it (which
    // takes it away for a moment) but a server that will not give it.
    if (sight.here && sight.holder.empty() && ++refused >= kRefusalsMeaningNo) {
      AbortSync(g, kRefused);
      return Fetched::Stopped;
    }
    absent = sight.here || !sight.holder.empty() ? 0 : absent + 1;
    if (absent >= kAbsentSightings) return Fetched::NoArchive;
    if (!wait.Wait(g, sight.holder, attempt)) return Fetched::Stopped;
  }
}

// Puts the archive we took back in its place (when a replace cannot finish).
void PutBack(Game& g, std::vector<std::string>& held) {
  if (!held.empty()) g.plat.Net().FtpRename(held.back(), kServerFile);
  held.clear();
}

// Whether the server's archive, fetched into file, holds our upload's count and results.
bool HoldsOurs(Game& g, const std::filesystem::path& file) {
  WorldScoreState server, ours;
  ReadWorldArchive(file, server);
  ReadWorldArchive(g.PathOf(kArchive), ours);
  return server.WsUploads >= ours.WsUploads && HoldsResultsOf(server, ours);
}

// Replaces the server's archive by ours without losing results other clients put there since we
// fetched it. True when ours (or a later one holding our results) is in place.
bool ReplaceWorldArchive(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  auto archive = g.PathOf(kArchive), serverCopy = g.PathOf(kServerCopy);
  if (archive.empty() || serverCopy.empty()) return false;
  const std::string own = OwnName();
  const std::string upload = std::string(kServerUpload) + "." + own;
  std::vector<std::string> held;  // archives we took away and merged, oldest first
  HolderWait wait;
  bool uploaded = false;
  int absent = 0;
  auto stop = [&](const char* reason) {
    ws.SyncHolding = true;  // the clean-up is not cut short by the cancel that may have caused it
    PutBack(g, held);
    if (uploaded) net.FtpDelete(upload);
    AbortSync(g, reason);
    return false;
  };

  for (int attempt = 0;; ++attempt) {
    // 1. Take the archive away, so that no one replaces it while ours goes up.
    std::string hold = kHeldPrefix + own + "-" + std::to_string(attempt);
    ws.SyncHolding = true;
    NetStatus took = net.FtpRename(kServerFile, hold);
    if (took == NetStatus::Failed) return stop(kNoAnswer);
    if (took == NetStatus::Ok) {
      held.push_back(hold);
      // Nobody else touches the copy we hold, so a broken transfer is worth another try.
      NetStatus got = net.FtpGet(hold, serverCopy, false);
      for (int retry = 0; got == NetStatus::Failed && retry < kTransferRetries; ++retry)
        got = net.FtpGet(hold, serverCopy, false);
      if (got != NetStatus::Ok) return stop(got == NetStatus::Failed ? kNoAnswer : kRefused);
      std::string now = ReadWholeFile(serverCopy).value_or("");
      if (now != ws.SyncBase) {
        RemergeWorldScores(g, serverCopy);
        ws.SyncBase = now;
        uploaded = false;
      }
    } else if (held.empty()) {
      ws.SyncHolding = false;
      ArchiveSight sight = LookAtArchive(g, held);
      if (!sight.ok) return stop(kRefused);
      absent = sight.here || !sight.holder.empty() ? 0 : absent + 1;
      // Back in place or held by another client: try again shortly. A server without any
      // archive (a fresh one) takes ours as it is.
      if (absent < kAbsentSightings) {
        if (!wait.Wait(g, sight.holder, attempt)) return stop(kNoAnswer);
        continue;
      }
    }

    // 2. Ours under a name of its own.
    if (!uploaded) {
      NetStatus put = net.FtpPut(archive, upload);
      if (put != NetStatus::Ok) return stop(put == NetStatus::Failed ? kNoAnswer : kRefused);
      uploaded = true;
    }

    // 3. Into place.
    NetStatus placed = net.FtpRename(upload, kServerFile);
    if (placed == NetStatus::Failed) return stop(kNoAnswer);
    if (placed == NetStatus::Refused) {
      ArchiveSight sight = LookAtArchive(g, held);
      if (!sight.ok) return stop(kRefused);
      uploaded = net.FtpExists(upload) == NetStatus::Ok;
      // Our upload is gone: it goes up again. An archive that appeared meanwhile (the server
      // will not replace it) is taken and merged too. Nothing on the server is ever deleted.
      if (!uploaded || sight.here) continue;
      return stop(kRefused);
    }
    uploaded = false;
    for (const auto& h : held) net.FtpDelete(h);  // merged into ours; a cancel waits for these too
    held.clear();
    ws.SyncHolding = false;

    // 4. Fetch it again: a client that replaced it from an older copy meanwhile is caught here.
    NetStatus again = net.FtpGet(kServerFile, serverCopy, false);
    if (again == NetStatus::Failed) return stop(kNoAnswer);
    // Refused: another client holds it now, and will merge it whole.
    if (again == NetStatus::Refused || HoldsOurs(g, serverCopy)) return true;
    std::string now = ReadWholeFile(serverCopy).value_or("");
    RemergeWorldScores(g, serverCopy);
    ws.SyncBase = now;
    if (!wait.Wait(g, "", attempt)) return stop(kNoAnswer);
  }
}

// Proof pictures of the upload list. Only plain ".jpg" names are taken (a name is joined to our
// folder and the file deleted afterwards); a picture is deleted only once it is on the server,
// and pictures that did not get there stay listed for the next synchronisation. False when the
// server stopped answering.
bool UploadProofPictures(Game& g) {
  Network& net = g.plat.Net();
  auto list = g.PathOf("\\upload\\upload.txt");
  auto names = ReadLines(list, {.maxBytes = 64 * 1024, .maxLines = kMaxUploadLines, .maxLineLength = 1024});
  if (!names) return true;
  std::vector<std::string> pending;
  bool broken = false;
  for (const auto& raw : *names) {
    std::string name = Trim(raw);
    if (name.empty() || !PlainPictureName(name)) continue;
    auto picture = g.PathOf("\\upload\\" + name);
    if (broken || picture.empty() || !FileExists(picture)) {
      if (FileExists(picture)) pending.push_back(name);
      continue;
    }
    NetStatus sent = net.FtpPut(picture, name);
    if (sent == NetStatus::Ok) {
      std::error_code ec;
      std::filesystem::remove(picture, ec);
    } else {
      pending.push_back(name);
      broken = sent == NetStatus::Failed;
    }
    ShowProgress(g);
  }
  if (pending.empty()) {
    std::error_code ec;
    std::filesystem::remove(list, ec);
  } else {
    WriteTextLines(list, pending);
  }
  return !broken;
}

}  // namespace

void ShowStage(Game& g, std::string_view text) {
  g.form.StatusMessage = std::string(text);
  ShowProgress(g);
}

bool PlainPictureName(std::string_view name) {
  if (name.size() < 5 || name.size() > 255) return false;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':') return false;
  }
  if (name.front() == '.') return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".jpg";
}

bool DownloadUrl(Game& g, std::string_view url, const std::filesystem::path& file) {
  if (file.empty()) return false;
  return g.plat.Net().DownloadUrl(url, file) == NetStatus::Ok;
}

// The state is tested at most once a second; the world-score screen asks on every pass.
bool CheckConnection(Game& g) {
  auto& ws = g.ws;
  uint32_t now = g.plat.GetTickCount();
  if (ws.ConnectionChecked && now - ws.ConnectionCheckedAt < 1000) return ws.Connected != 0;
  ws.ConnectionChecked = true;
  ws.ConnectionCheckedAt = now;
  Network& net = g.plat.Net();
  ws.Connected = Bool16(net.InterfaceUp() || net.IsThisMachine(HostOf(WebSite(g))));
  return ws.Connected != 0;
}

// True when the announced version is above ours. Whole numbers compare by value, so a "999"
// announcement cannot lock every player out of the exchange; anything else compares as text.
static bool AnnouncedIsNewer(const std::string& latest) {
  bool digits = !latest.empty() && latest.size() <= 9 &&
                latest.find_first_not_of("0123456789") == std::string::npos;
  if (digits) return std::stol(latest) > std::stol(std::string(kProgramVersion));
  return latest > kProgramVersion;
}

// Version check (`CheckNewVersion`).
bool CheckNewVersion(Game& g) {
  std::string folder = WebSite(g) + "/Games/Vorlan/";
  auto file = g.PathOf("\\OtherFiles\\NewVer.txt");
  g.ws.SiteSilent = false;
  NetStatus got = file.empty() ? NetStatus::Refused : g.plat.Net().DownloadUrl(folder + "NewVer.txt", file);
  if (got != NetStatus::Ok) {
    g.ws.SiteSilent = got == NetStatus::Failed;
    return false;
  }
  std::string line = FirstLine(file);
  std::string latest = Column(line, 1, 4);
  std::string download = Column(line, 33, 72);
  if (!AnnouncedIsNewer(latest)) return false;

  std::string text =
      "Your version: " + std::string(kProgramVersion) + "\r\nNew Vorlan " + latest +
      " is online.\r\nIf you want to upload scores you must download the latest version of Vorlan";
  g.plat.MessageBox(text, "Vorlan", kMbOk | kMbIconInformation);
  int answer = g.plat.MessageBox("Do you want to download it now?", "Vorlan", kMbYesNo | kMbIconQuestion);
  // Only a plain file name is opened: the announcement cannot send the browser elsewhere.
  if (answer == kIdYes && PlainDownloadName(download)) g.plat.OpenUrl(folder + download);
  return true;
}

namespace {

// The steps of a synchronisation, inside the deadline and window handling of DownloadScores.
void RunSync(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  if (CheckNewVersion(g)) return;
  // A web site that did not answer the version check will not answer the rest either.
  if (ws.SiteSilent) return AbortSync(g, kNoAnswer);
  g.form.LoadingStep = 0;
  DoEvents(g);

  std::string folder = WebSite(g) + "/Games/Vorlan/";
  auto addressFile = g.PathOf("c:\\Windows\\WSserver.txt");
  NetStatus got =
      addressFile.empty() ? NetStatus::Failed : net.DownloadUrl(folder + "WSserver.txt", addressFile);
  // A web site that does not answer ends the synchronisation here; one that answers without the
  // file leaves the address file of the last synchronisation in use.
  if (got == NetStatus::Failed) return AbortSync(g, kNoAnswer);
  std::string line = FirstLine(addressFile);
  std::string host = Column(line, 1, 25), user = Column(line, 30, 54), password = Column(line, 60, 84);

  ShowStage(g, "Connecting for download..");
  NetStatus connected = net.FtpConnect(host, user, password);
  if (connected != NetStatus::Ok) return AbortSync(g, connected == NetStatus::Refused ? "LOGIN REFUSED" : kNoAnswer);

  ws.FtpDir = net.FtpCurrentDirectory().substr(0, kMaxFtpDir);
  ShowStage(g, "Downloading..");
  if (net.FtpSetCurrentDirectory(ws.FtpDir) == NetStatus::Failed) return AbortSync(g, kNoAnswer);

  if (net.FtpGet("default.htm", g.PathOf("\\OtherFiles\\Default.htm"), true) == NetStatus::Failed)
    return AbortSync(g, kNoAnswer);

  // The archive comes from the folder the upload goes to. It arrives beside the old one and
  // replaces it only when complete; a server without an archive is a fresh start, on which the
  // default table is merged instead.
  auto archive = g.PathOf(kArchive);
  if (archive.empty()) return AbortSync(g, kRefused);
  switch (FetchServerArchive(g, archive)) {
    case Fetched::Stopped:
      return;
    case Fetched::Archive:
      ws.SyncBase = ReadWholeFile(archive).value_or("");
      break;
    case Fetched::NoArchive: {
      ws.SyncBase.clear();
      std::error_code ec;
      std::filesystem::remove(archive, ec);
    }
  }

  ShowProgress(g);
  ShowProgress(g);
  WorldSync(g);
}

}  // namespace

// Download (`DownloadScores`): the synchronisation entry point of "SYNCHRONIZE SCORES".
void DownloadScores(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  ws.SyncAborted = ws.SyncHolding = false;
  ws.SyncFailure.clear();
  ws.SyncDeadline = g.plat.GetTickCount() + static_cast<uint32_t>(net.Limits().exchangeSeconds) * 1000;
  net.SetProgress([&g] { return KeepSyncing(g); });
  RunSync(g);
  net.SetProgress(nullptr);
  net.FtpClose();  // already closed by the upload, unless the merge stopped early
}

// Upload (`UploadScores`), on the session the download opened.
void UploadScores(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  ShowStage(g, "Uploading..");
  if (!net.FtpOpen()) return AbortSync(g, kNoAnswer);
  if (!ReplaceWorldArchive(g)) return;
  // The backup is what the server holds now.
  CopyFileOver(g.PathOf(kArchive), g.PathOf(kBackup));
  ShowProgress(g);

  if (!UploadProofPictures(g)) return AbortSync(g, kNoAnswer);
  if (net.FtpPut(g.PathOf("\\OtherFiles\\worldscoresVo118.htm"), "worldscoresVo118.htm") == NetStatus::Failed)
    return AbortSync(g, kNoAnswer);
  ShowProgress(g);

  ListServerFiles(g);
  net.FtpClose();
  ShowProgress(g);
  ws.WsLoadCounter = 0;
}

void ListServerFiles(Game& g) { (void)g.plat.Net().FtpList(); }

}  // namespace vorlan
