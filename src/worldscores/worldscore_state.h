// The world table and the score-server exchange (modules TopWorldScore and FTPmod).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlan {

struct WorldScoreState {
  int16_t Connected = 0;  // set by CheckConnection; also the online flag of the progress display

  // The world table: slots 0 to 500 of which 0 to 99 are the places and 100 the overflow. Every
  // column is text padded to the local table's widths; WsName is trimmed.
  static constexpr int kSlots = 501;
  std::vector<std::string> WsScore = std::vector<std::string>(kSlots);
  std::vector<std::string> WsKills = std::vector<std::string>(kSlots);
  std::vector<std::string> WsTime = std::vector<std::string>(kSlots);
  std::vector<std::string> WsAccuracy = std::vector<std::string>(kSlots);
  std::vector<std::string> WsRecharge = std::vector<std::string>(kSlots);
  std::vector<std::string> WsBulletSpeed = std::vector<std::string>(kSlots);
  std::vector<std::string> WsMelee = std::vector<std::string>(kSlots);
  std::vector<std::string> WsMaxHealth = std::vector<std::string>(kSlots);
  std::vector<std::string> WsMaxAmmo = std::vector<std::string>(kSlots);
  std::vector<std::string> WsTimesPlayed = std::vector<std::string>(kSlots);
  std::vector<std::string> WsDate = std::vector<std::string>(kSlots);
  std::vector<std::string> WsName = std::vector<std::string>(kSlots);
  // 1 arrived in the last merge (on screen: recent), 2 moved down, 0 unchanged.
  std::vector<int16_t> WsMark = std::vector<int16_t>(kSlots);

  int16_t WsUploads = 0;        // upload counter read from the archive
  int16_t WsPrevUploads = 0;    // WsUploads before the last load
  std::string WsLastUpdate;     // "dd.mm.yyyy" read from the archive
  std::string WsLastUpdateRaw;  // the same, kept for rewriting the archive
  int16_t WsLoadCounter = 0;    // the archive is read when this is 1 (wraps at 10000)

  // FTPmod: the session from the download to the end of the upload.
  std::string FtpDir;                // the server's current directory (at most 260 characters)
  bool SyncAborted = false;          // the last synchronisation ended early (no answer, refused)
  std::string SyncFailure;           // why, for the screen: "SERVER NOT REACHABLE", "CANCELLED"...
  uint32_t SyncDeadline = 0;         // GetTickCount by which the synchronisation gives up
  bool SyncHolding = false;          // the server's archive is taken away by us: finish before stopping
  std::string SyncBase;              // the server's archive as fetched ("" when it had none)
  bool SiteSilent = false;           // the last version check got no answer from the web site
  uint32_t ConnectionCheckedAt = 0;  // GetTickCount of the last real connection test
  bool ConnectionChecked = false;
};

}  // namespace vorlan
