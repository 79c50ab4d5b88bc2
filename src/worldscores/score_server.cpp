// The exchange with the score server (module FTPmod): connection check, version check, the
// download that starts a synchronisation and the upload that ends it. Everything runs in the
// main thread; every transfer is bounded by the network's limits, and a server that does not
// answer ends the synchronisation with the local tables as they were.
#include "worldscores/score_server.h"

#include <cctype>

#include "numbers.h"
#include "platform/network.h"
#include "shell/display.h"
#include "text.h"
#include "worldscores/world_table.h"

namespace vorlan {

namespace {

const char* kArchive = "c:\\Windows\\AtopwVo118.vor";
const char* kBackup = "c:\\Windows\\AtopwCopy.vor";
const char* kServerFile = "AtopwVo118.vor";
const char* kServerUpload = "AtopwVo118.tmp";
constexpr size_t kMaxFtpDir = 260;
constexpr int kMaxUploadLines = 30;

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
void AbortSync(Game& g) {
  g.plat.Net().FtpClose();
  g.ws.SyncAborted = true;
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

// Download (`DownloadScores`): the synchronisation entry point of "SYNCHRONIZE SCORES".
void DownloadScores(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  ws.SyncAborted = false;
  if (CheckNewVersion(g)) return;
  // A web site that did not answer the version check will not answer the rest either.
  if (ws.SiteSilent) return AbortSync(g);
  g.form.LoadingStep = 0;
  DoEvents(g);

  std::string folder = WebSite(g) + "/Games/Vorlan/";
  auto addressFile = g.PathOf("c:\\Windows\\WSserver.txt");
  NetStatus got =
      addressFile.empty() ? NetStatus::Failed : net.DownloadUrl(folder + "WSserver.txt", addressFile);
  // A web site that does not answer ends the synchronisation here; one that answers without the
  // file leaves the address file of the last synchronisation in use.
  if (got == NetStatus::Failed) return AbortSync(g);
  std::string line = FirstLine(addressFile);
  std::string host = Column(line, 1, 25), user = Column(line, 30, 54), password = Column(line, 60, 84);

  ShowStage(g, "Connecting for download..");
  if (net.FtpConnect(host, user, password) != NetStatus::Ok) return AbortSync(g);

  ws.FtpDir = net.FtpCurrentDirectory().substr(0, kMaxFtpDir);
  ShowStage(g, "Downloading..");
  if (net.FtpSetCurrentDirectory(ws.FtpDir) == NetStatus::Failed) return AbortSync(g);

  if (net.FtpGet("default.htm", g.PathOf("\\OtherFiles\\Default.htm"), true) == NetStatus::Failed)
    return AbortSync(g);

  // The archive arrives beside the old one and replaces it only when complete. A server without
  // an archive is a fresh start: the default table is merged instead.
  auto archive = g.PathOf(kArchive);
  NetStatus fetched = net.FtpGet(std::string("/") + kServerFile, archive, false);
  if (fetched == NetStatus::Failed) return AbortSync(g);
  if (fetched == NetStatus::Refused) {
    std::error_code ec;
    std::filesystem::remove(archive, ec);
  }

  ShowProgress(g);
  ShowProgress(g);
  WorldSync(g);
  net.FtpClose();  // already closed by the upload, unless the merge stopped early
}

// Upload (`UploadScores`), on the session the download opened.
void UploadScores(Game& g) {
  auto& ws = g.ws;
  Network& net = g.plat.Net();
  ShowStage(g, "Uploading..");
  if (!net.FtpOpen()) return AbortSync(g);

  // Rename the upload over the archive so the server always has one; only a server that
  // refuses to replace a file gets the delete and rename.
  auto archive = g.PathOf(kArchive);
  NetStatus put = net.FtpPut(archive, kServerUpload);
  if (put == NetStatus::Failed) return AbortSync(g);
  NetStatus renamed = NetStatus::Refused;
  if (put == NetStatus::Ok) {
    renamed = net.FtpRename(kServerUpload, kServerFile);
    if (renamed == NetStatus::Refused) {
      net.FtpDelete(kServerFile);
      renamed = net.FtpRename(kServerUpload, kServerFile);
    }
    if (renamed == NetStatus::Failed) return AbortSync(g);
  }
  // The backup is what the server holds now; an archive that did not arrive is no backup.
  if (renamed == NetStatus::Ok) CopyFileOver(archive, g.PathOf(kBackup));
  ShowProgress(g);

  // Proof pictures of the upload list. Only plain ".jpg" names are taken (a name is joined to
  // our folder and the file deleted afterwards); a picture is deleted only once it is on the
  // server, and pictures that did not get there stay listed for the next synchronisation.
  auto list = g.PathOf("\\upload\\upload.txt");
  if (auto names =
          ReadLines(list, {.maxBytes = 64 * 1024, .maxLines = kMaxUploadLines, .maxLineLength = 1024})) {
    std::vector<std::string> pending;
    bool broken = false;
    for (const auto& raw : *names) {
      std::string name = Trim(raw);
      if (name.empty()) continue;
      if (!PlainPictureName(name)) continue;
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
    if (broken) return AbortSync(g);
  }

  if (net.FtpPut(g.PathOf("\\OtherFiles\\worldscoresVo118.htm"), "worldscoresVo118.htm") == NetStatus::Failed)
    return AbortSync(g);
  ShowProgress(g);

  ListServerFiles(g);
  net.FtpClose();
  ShowProgress(g);
  ws.WsLoadCounter = 0;
}

void ListServerFiles(Game& g) { (void)g.plat.Net().FtpList(); }

}  // namespace vorlan
