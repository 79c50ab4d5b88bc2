// Network services: HTTP(S) download to a file and one FTP(S) session at a time. Every transfer
// has a connect timeout and a stall timeout. Implemented over libcurl (net_curl).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vorlan {

class Network {
 public:
  virtual ~Network() = default;
  // Fills in by the score-server work: HTTP download, FTP connect/cd/get/put/delete/rename/list/close.
};

// The libcurl implementation.
std::unique_ptr<Network> MakeCurlNetwork();

}  // namespace vorlan
