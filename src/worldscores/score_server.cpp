// The exchange with the score server (module FTPmod): connection check, version check, the
// download that starts a synchronisation and the upload that ends it. Everything runs in the
// main thread, which keeps handling window events while it waits; a server that does not answer,
// the deadline, Escape or closing the window end the synchronisation with the local tables as
// they were.
//
// Many players share one archive and there is no lock on the server, so a client replaces it in
// steps that lose nobody's results: it uploads its own under a name of its own, takes the archive
// away under another (a rename, which only one client can win), merges in what changed since it
// fetched it, renames its own into the empty place and fetches it again to check. A step whose
// answer was lost is looked into before anything else is done; a rename into place that may have
// happened counts as done.
#include "worldscores/score_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <limits>
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
  if (!ws.SyncAborted)
    std::fprintf(stderr, "vorlan: world scores not synchronised: %s\n", ws.SyncFailure.c_str());
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
  std::snprintf(text, sizeof text, "%010lld%08x%08x", static_cast<long long>(std::time(nullptr)),
                RandomBits(), RandomBits());
  return text;
}

// A random back-off that grows with the attempts, so that clients that collided spread out.
int BackOffMs(int attempt) { return 10 + static_cast<int>(RandomBits() % (20u << std::min(attempt, 4))); }

using SteadyClock = std::chrono::steady_clock;
int64_t MsSince(SteadyClock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - t).count();
}

// A call that broke off is tried again this often; each try after a broken one is a new login.
constexpr int kRetries = 2;

template <typename Call>
NetStatus Retried(Call call, int retries = kRetries) {
  NetStatus s = call();
  for (int i = 0; s == NetStatus::Failed && i < retries; ++i) s = call();
  return s;
}

// A client renames into the archive's place only this long after it began its latest upload.
// Others take its upload's date as the sign it is still at work: past kLeftBehindSeconds (the
// lease, time for a late command to arrive, and the date's whole seconds) what it left is
// merged or deleted by whoever finds it.
constexpr int64_t kLeaseMs = 10000;
constexpr int64_t kLeftBehindSeconds = 22;

// Names on the server: the upload "AtopwVo118.tmp.<own>" and the archives a client took away,
// "AtopwVo118.vor.<own>-<n>".
std::string UploadName(std::string_view own) { return std::string(kServerUpload) + "." + std::string(own); }
// The owner of a taken archive's name ("" for other names).
std::string HolderOf(std::string_view name) {
  if (!name.starts_with(kHeldPrefix)) return {};
  name.remove_prefix(kHeldPrefix.size());
  return std::string(name.substr(0, name.rfind('-')));
}

bool Lists(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

enum class Moved { Yes, No, Unknown };

// Renames a server file. A rename whose answer was lost may have happened: the outcome is read
// off the name that is ours alone (nobody else creates or removes it), `to` when ownIsTo, else
// `from`. Unknown when even that cannot be asked.
Moved Move(Network& net, std::string_view from, std::string_view to, bool ownIsTo) {
  NetStatus s = net.FtpRename(from, to);
  if (s != NetStatus::Failed) return s == NetStatus::Ok ? Moved::Yes : Moved::No;
  NetStatus there = Retried([&] { return net.FtpExists(ownIsTo ? to : from); });
  if (there == NetStatus::Failed) return Moved::Unknown;
  return (there == NetStatus::Ok) == ownIsTo ? Moved::Yes : Moved::No;
}

// What the server's folder shows of the archive. The listing is a second opinion only: a folder
// read while another client renames a file may miss it.
struct ArchiveSight {
  NetStatus status = NetStatus::Failed;  // Ok: the server answered both questions
  bool here = false;                     // the archive is there (perhaps not readable to us)
  std::vector<std::string> held;         // archives other clients took away, newest last
  std::vector<std::string> names;
};

ArchiveSight LookAtArchive(Game& g, std::string_view own) {
  Network& net = g.plat.Net();
  ArchiveSight s;
  NetStatus exists = Retried([&] { return net.FtpExists(kServerFile); });
  NetStatus listed = Retried([&] { return net.FtpList(s.names); });
  // A broken connection is no answer; a server that refuses to show its folder refuses.
  s.status = exists == NetStatus::Failed || listed == NetStatus::Failed ? NetStatus::Failed : listed;
  if (s.status != NetStatus::Ok) return s;
  s.here = exists == NetStatus::Ok || Lists(s.names, kServerFile);
  for (const auto& n : s.names)
    if (std::string holder = HolderOf(n); !holder.empty() && holder != own) s.held.push_back(n);
  std::sort(s.held.begin(), s.held.end());
  return s;
}

// Nothing seen of the archive this many times in a row, with pauses, means there is none; seen
// there and held by nobody, yet refused this many times in a row, it is refused to us.
constexpr int kAbsentSightings = 3;
constexpr int kRefusalsMeaningNo = 8;

// A pause before the next attempt; false when the synchronisation must end (it has then been ended).
bool Pause(Game& g, int attempt) {
  if (g.plat.Net().Wait(BackOffMs(attempt)) == NetStatus::Ok) return true;
  AbortSync(g, kNoAnswer);
  return false;
}

enum class Fetched { Archive, NoArchive, Stopped };

// Fetches the server's archive. While another client holds it, the copy it took is the latest
// archive. A refused download may be a permission or a client replacing it; only a listing
// without the archive, and without anyone holding it, means there is none.
Fetched FetchServerArchive(Game& g, const std::filesystem::path& local) {
  Network& net = g.plat.Net();
  int refused = 0, absent = 0;
  for (int attempt = 0;; ++attempt) {
    NetStatus got = Retried([&] { return net.FtpGet(kServerFile, local, false); });
    if (got == NetStatus::Ok) return Fetched::Archive;
    if (got == NetStatus::Failed) {
      AbortSync(g, kNoAnswer);
      return Fetched::Stopped;
    }
    ArchiveSight sight = LookAtArchive(g, "");
    if (sight.status != NetStatus::Ok) {
      AbortSync(g, sight.status == NetStatus::Failed ? kNoAnswer : kRefused);
      return Fetched::Stopped;
    }
    if (!sight.here && !sight.held.empty()) {
      got = Retried([&] { return net.FtpGet(sight.held.back(), local, false); });
      if (got == NetStatus::Ok) return Fetched::Archive;
      if (got == NetStatus::Failed) {
        AbortSync(g, kNoAnswer);
        return Fetched::Stopped;
      }
    }
    // There, held by nobody, and refused again and again: not other clients replacing it (which
    // takes it away for a moment) but a server that will not give it.
    refused = sight.here && sight.held.empty() ? refused + 1 : 0;
    if (refused >= kRefusalsMeaningNo) {
      AbortSync(g, kRefused);
      return Fetched::Stopped;
    }
    absent = sight.here || !sight.held.empty() ? 0 : absent + 1;
    if (absent >= kAbsentSightings) return Fetched::NoArchive;
    if (!Pause(g, attempt)) return Fetched::Stopped;
  }
}

// Whether the server's archive, fetched into file, holds our upload's count and results.
bool HoldsOurs(Game& g, const std::filesystem::path& file) {
  WorldScoreState server, ours;
  ReadWorldArchive(file, server);
  ReadWorldArchive(g.PathOf(kArchive), ours);
  return server.WsUploads >= ours.WsUploads && HoldsResultsOf(server, ours);
}

// Replacing the server's archive by ours without losing results other clients put there since
// we fetched it. Ours goes up first under a name of our own; then we take the archive away (a
// rename only one client can win), merge what it holds, put ours in the empty place, and fetch
// it again to check. No client puts an archive over another: where one is found in place, it is
// taken and merged first.
class Replacement {
 public:
  explicit Replacement(Game& g)
      : g_(g),
        net_(g.plat.Net()),
        archive_(g.PathOf(kArchive)),
        serverCopy_(g.PathOf(kServerCopy)),
        own_(OwnName()),
        upload_(UploadName(own_)) {}

  // True when ours (or a later one holding our results) is in place.
  bool Run() {
    auto& ws = g_.ws;
    if (archive_.empty() || serverCopy_.empty()) return false;
    int absent = 0, refused = 0;
    bool cleaned = false;
    for (int attempt = 0;; ++attempt) {
      if (!ws.SyncFailure.empty()) return Stop(ws.SyncFailure.c_str());
      // 1. Ours goes up: while we hold the archive, its date tells others we are at work.
      if (!Fresh() && !Put()) return false;

      // 2. Take the archive away, so that no one replaces it while ours goes into place. Only the
      // client holding the archive itself puts one in its place; archives taken over from
      // stopped clients are merged in, and count as the archive only when nobody at work holds it.
      std::string hold = NextHold();
      ws.SyncHolding = true;
      Moved took = Move(net_, kServerFile, hold, true);
      if (took == Moved::Unknown) return Stop(kNoAnswer);
      if (took == Moved::Yes) {
        held_.push_back(hold);
        haveArchive_ = true;
        archiveCopy_ = hold;
        if (!MergeHeld(hold)) return false;
        // Once a synchronisation, while we hold the archive: what stopped clients left behind.
        if (!cleaned) {
          cleaned = true;
          ArchiveSight sight = LookAtArchive(g_, own_);
          if (sight.status == NetStatus::Failed) return Stop(kNoAnswer);
          if (!CleanUp(sight, true)) return false;
        }
      } else if (!haveArchive_) {
        ws.SyncHolding = !held_.empty();
        ArchiveSight sight = LookAtArchive(g_, own_);
        if (sight.status != NetStatus::Ok)
          return Stop(sight.status == NetStatus::Failed ? kNoAnswer : kRefused);
        size_t before = held_.size();
        if (!CleanUp(sight, !cleaned)) return false;
        cleaned = true;
        // Not in place and nobody else holds it: what we took over is all there is of it. The
        // archive is always in place or under a taken name, so this needs a look at the folder
        // after our last takeover (a client whose upload was gone may have just put its archive
        // in place).
        if (!sight.here && foreignLeft_ == 0 && !held_.empty()) {
          bool clear = true;
          if (held_.size() > before) {
            ArchiveSight now = LookAtArchive(g_, own_);
            if (now.status == NetStatus::Failed) return Stop(kNoAnswer);
            clear = now.status == NetStatus::Ok && !now.here && now.held.empty();
          }
          if (clear) {
            haveArchive_ = true;
            archiveCopy_ = held_.back();
          }
        }
        refused = sight.here && sight.held.empty() ? refused + 1 : 0;
        if (refused >= kRefusalsMeaningNo) return Stop(kRefused);
        absent = sight.here || !sight.held.empty() || !held_.empty() ? 0 : absent + 1;
        // A server without any archive (a fresh one) takes ours as it is.
        if (absent >= kAbsentSightings) haveArchive_ = true;
        // Holding only copies while others hold more, for longer than a replacement takes: we
        // stop, and whoever finds our copies merges them (two such clients would wait for ever).
        if (held_.empty() || haveArchive_)
          copiesSince_ = SteadyClock::now();
        else if (MsSince(copiesSince_) > kLeaseMs)
          return Stop("SERVER BUSY");
        // Back in place or held by another client at work: try again shortly.
        if (!haveArchive_) {
          if (!Pause(g_, attempt)) return Stop(kNoAnswer);
          continue;
        }
      }

      // 3. Into the empty place, with an upload young enough that nobody takes us for gone.
      if (!ws.SyncFailure.empty()) return Stop(ws.SyncFailure.c_str());
      if (!Fresh() && !Put()) return false;
      // A copy taken from us while our upload looked old means another client holds the archive.
      for (size_t i = held_.size(); i-- > 0;) {
        NetStatus mine = Retried([&] { return net_.FtpExists(held_[i]); });
        if (mine == NetStatus::Failed) return Stop(kNoAnswer);
        if (mine == NetStatus::Refused) LostHeld(held_[i]);
      }
      if (!haveArchive_) continue;
      NetStatus there = Retried([&] { return net_.FtpExists(kServerFile); });
      if (there == NetStatus::Failed) return Stop(kNoAnswer);
      if (there == NetStatus::Ok) haveArchive_ = false;  // not ours to replace: taken and merged next
      if (there == NetStatus::Ok || MsSince(putStart_) >= kLeaseMs) continue;
      Moved placed = Move(net_, upload_, kServerFile, false);
      if (placed == Moved::Unknown) return Stop(kNoAnswer, true);
      if (placed == Moved::No) {
        // Our upload is gone (it goes up again), or the server will not replace an archive that
        // appeared meanwhile (it is taken and merged next).
        uploaded_ = Retried([&] { return net_.FtpExists(upload_); }) == NetStatus::Ok;
        continue;
      }
      uploaded_ = haveArchive_ = false;
      for (const auto& h : held_) net_.FtpDelete(h);  // merged into ours
      held_.clear();
      ws.SyncHolding = false;

      // 4. Fetch it again: an archive put over ours from an older copy is caught here. Unanswered
      // or refused (another client took it), ours was in place and is merged by whoever replaces it.
      NetStatus again = Retried([&] { return net_.FtpGet(kServerFile, serverCopy_, false); });
      if (again != NetStatus::Ok || HoldsOurs(g_, serverCopy_)) return true;
      Remerge();
      if (!Pause(g_, attempt)) return Stop(kNoAnswer);
    }
  }

 private:
  std::string NextHold() { return kHeldPrefix + own_ + "-" + std::to_string(takes_++); }

  // Our upload is on the server as it is now, and young enough that nobody takes us for gone.
  bool Fresh() const { return uploaded_ && MsSince(putStart_) <= kLeaseMs / 2; }

  bool Put() {
    putStart_ = SteadyClock::now();
    NetStatus put = Retried([&] { return net_.FtpPut(archive_, upload_); });
    if (put != NetStatus::Ok) return Stop(put == NetStatus::Failed ? kNoAnswer : kRefused);
    putEnd_ = SteadyClock::now();
    uploadTime_ = -1;
    uploaded_ = true;
    return true;
  }

  // Fetches an archive we took and merges it into ours when it holds anything new to us.
  bool MergeHeld(const std::string& name) {
    NetStatus got = Retried([&] { return net_.FtpGet(name, serverCopy_, false); });
    if (got == NetStatus::Failed) return Stop(kNoAnswer);
    if (got == NetStatus::Refused && Retried([&] { return net_.FtpExists(name); }) == NetStatus::Refused) {
      LostHeld(name);
      return true;
    }
    if (got != NetStatus::Ok) return Stop(kRefused);
    if (ReadWholeFile(serverCopy_).value_or("") != g_.ws.SyncBase) Remerge();
    return true;
  }

  // A copy we took was taken from us (our upload looked old to another client): that client
  // holds the archive now, and we wait for it.
  void LostHeld(const std::string& name) {
    held_.erase(std::remove(held_.begin(), held_.end(), name), held_.end());
    haveArchive_ = false;
  }

  void Remerge() {
    std::string now = ReadWholeFile(serverCopy_).value_or("");
    RemergeWorldScores(g_, serverCopy_);
    g_.ws.SyncBase = now;
    uploaded_ = false;
  }

  // Seconds since another client's upload was written, by the server's clock; kGone when it is
  // not there, -1 when unknown.
  static constexpr int64_t kGone = std::numeric_limits<int64_t>::max();
  int64_t UploadAge(std::string_view owner) {
    if (uploadTime_ < 0 && Retried([&] { return net_.FtpModified(upload_, uploadTime_); }) != NetStatus::Ok)
      uploadTime_ = -1;
    if (uploadTime_ < 0) return -1;
    int64_t now = uploadTime_ + MsSince(putEnd_) / 1000, then = 0;
    NetStatus s = Retried([&] { return net_.FtpModified(UploadName(owner), then); });
    if (s == NetStatus::Refused) return kGone;
    return s == NetStatus::Ok ? now - then : -1;
  }

  // Archives other clients took and left (their upload is gone: put in place, or they stopped;
  // or too old for a client at work) are taken over and merged; with sweep, uploads too old for
  // a client at work are deleted, after their owners' taken archives are in our hands. Counts in
  // foreignLeft_ the taken archives still in other hands.
  bool CleanUp(const ArchiveSight& sight, bool sweep) {
    foreignLeft_ = 0;
    std::vector<std::string> gone;
    for (const auto& name : sight.held) {
      std::string owner = HolderOf(name);
      if (!Lists(gone, owner) && UploadAge(owner) < kLeftBehindSeconds) {
        ++foreignLeft_;
        continue;
      }
      if (!Lists(gone, owner)) gone.push_back(owner);
      std::string hold = NextHold();
      g_.ws.SyncHolding = true;
      Moved took = Move(net_, name, hold, true);
      if (took == Moved::Unknown) return Stop(kNoAnswer);
      if (took == Moved::No) {
        ++foreignLeft_;
        continue;
      }
      held_.push_back(hold);
      if (!MergeHeld(hold)) return false;
    }
    const std::string uploads = std::string(kServerUpload) + ".";
    for (const auto& name : sweep ? sight.names : std::vector<std::string>{}) {
      if (!name.starts_with(uploads) || name == upload_) continue;
      int64_t age = UploadAge(name.substr(uploads.size()));
      if (age >= kLeftBehindSeconds && age != kGone) net_.FtpDelete(name);
    }
    return true;
  }

  // Ends a replacement that cannot go on. The archive we took goes back only into an empty
  // place and while our lease lasts, and never after a rename into place that may have
  // happened; our upload is deleted, so that whatever we still hold is merged by the next client.
  bool Stop(const char* reason, bool mayHavePlaced = false) {
    g_.ws.SyncHolding = true;  // the clean-up is not cut short by the cancel that may have caused it
    if (!mayHavePlaced && haveArchive_ && Lists(held_, archiveCopy_) && MsSince(putStart_) < kLeaseMs &&
        Retried([&] { return net_.FtpExists(kServerFile); }) == NetStatus::Refused)
      Move(net_, archiveCopy_, kServerFile, false);
    net_.FtpDelete(upload_);
    AbortSync(g_, reason);
    return false;
  }

  Game& g_;
  Network& net_;
  std::filesystem::path archive_, serverCopy_;
  std::string own_, upload_;
  std::vector<std::string> held_;  // archives we took away and merged, oldest first
  std::string archiveCopy_;        // the one of them that is the archive, while haveArchive_
  int takes_ = 0;
  bool uploaded_ = false;     // our archive as it is now is on the server
  bool haveArchive_ = false;  // we hold the archive: ours may go into its empty place
  int foreignLeft_ = 0;       // archives held by others at the last clean-up
  SteadyClock::time_point putStart_{}, putEnd_{};
  SteadyClock::time_point copiesSince_ = SteadyClock::now();  // since when we hold only copies
  int64_t uploadTime_ = -1;                                   // our upload's date by the server's clock
};

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
  bool digits =
      !latest.empty() && latest.size() <= 9 && latest.find_first_not_of("0123456789") == std::string::npos;
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
  // A login cut off is tried once more; a server that says nothing takes its time to say so.
  NetStatus connected = Retried([&] { return net.FtpConnect(host, user, password); }, 1);
  if (connected != NetStatus::Ok)
    return AbortSync(g, connected == NetStatus::Refused ? "LOGIN REFUSED" : kNoAnswer);

  ws.FtpDir = net.FtpCurrentDirectory().substr(0, kMaxFtpDir);
  ShowStage(g, "Downloading..");
  if (Retried([&] { return net.FtpSetCurrentDirectory(ws.FtpDir); }) == NetStatus::Failed)
    return AbortSync(g, kNoAnswer);

  if (Retried([&] { return net.FtpGet("default.htm", g.PathOf("\\OtherFiles\\Default.htm"), true); }) ==
      NetStatus::Failed)
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
  if (!Replacement(g).Run()) return;
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

void ListServerFiles(Game& g) {
  std::vector<std::string> names;
  (void)g.plat.Net().FtpList(names);
}

}  // namespace vorlan
