// The network of a machine without one: no interface up, nothing answers. Scripted networks
// derive from it and answer only what they script.
#pragma once

#include "platform/network.h"

namespace vorlan::testing {

class OfflineNetwork : public Network {
 public:
  void SetLimits(const NetLimits& limits) override { limits_ = limits; }
  const NetLimits& Limits() const override { return limits_; }
  void SetProgress(NetProgress) override {}
  NetStatus Wait(int) override { return NetStatus::Failed; }
  NetStatus DownloadUrl(std::string_view, const std::filesystem::path&) override { return NetStatus::Failed; }
  NetStatus FtpConnect(std::string_view, std::string_view, std::string_view) override {
    return NetStatus::Failed;
  }
  bool FtpOpen() const override { return false; }
  std::string FtpCurrentDirectory() override { return {}; }
  NetStatus FtpSetCurrentDirectory(std::string_view) override { return NetStatus::Failed; }
  NetStatus FtpGet(std::string_view, const std::filesystem::path&, bool) override {
    return NetStatus::Failed;
  }
  NetStatus FtpPut(const std::filesystem::path&, std::string_view) override { return NetStatus::Failed; }
  NetStatus FtpExists(std::string_view) override { return NetStatus::Failed; }
  NetStatus FtpDelete(std::string_view) override { return NetStatus::Failed; }
  NetStatus FtpRename(std::string_view, std::string_view) override { return NetStatus::Failed; }
  std::optional<std::vector<std::string>> FtpList() override { return std::nullopt; }
  void FtpClose() override {}
  bool InterfaceUp() override { return false; }
  bool IsThisMachine(std::string_view host) override { return IsLoopbackName(host); }

 private:
  NetLimits limits_;
};

}  // namespace vorlan::testing
