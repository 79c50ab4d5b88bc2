// The network of a machine without one: no interface up, nothing answers. Given a network to
// pass calls on to, it answers as that one does. Scripted and hooked networks derive from it and
// override only the calls they stage.
#pragma once

#include <memory>

#include "platform/network.h"

namespace vorlan::testing {

class OfflineNetwork : public Network {
 public:
  explicit OfflineNetwork(std::unique_ptr<Network> to = nullptr) : to_(std::move(to)) {}

  void SetLimits(const NetLimits& limits) override {
    limits_ = limits;
    if (to_) to_->SetLimits(limits);
  }
  const NetLimits& Limits() const override { return to_ ? to_->Limits() : limits_; }
  void SetProgress(NetProgress p) override {
    if (to_) to_->SetProgress(std::move(p));
  }
  NetStatus Wait(int ms) override { return to_ ? to_->Wait(ms) : NetStatus::Failed; }
  NetStatus DownloadUrl(std::string_view url, const std::filesystem::path& f) override {
    return to_ ? to_->DownloadUrl(url, f) : NetStatus::Failed;
  }
  NetStatus FtpConnect(std::string_view h, std::string_view u, std::string_view p) override {
    return to_ ? to_->FtpConnect(h, u, p) : NetStatus::Failed;
  }
  bool FtpOpen() const override { return to_ && to_->FtpOpen(); }
  std::string FtpCurrentDirectory() override { return to_ ? to_->FtpCurrentDirectory() : ""; }
  NetStatus FtpSetCurrentDirectory(std::string_view d) override {
    return to_ ? to_->FtpSetCurrentDirectory(d) : NetStatus::Failed;
  }
  NetStatus FtpGet(std::string_view r, const std::filesystem::path& l, bool a) override {
    return to_ ? to_->FtpGet(r, l, a) : NetStatus::Failed;
  }
  NetStatus FtpPut(const std::filesystem::path& l, std::string_view r) override {
    return to_ ? to_->FtpPut(l, r) : NetStatus::Failed;
  }
  NetStatus FtpExists(std::string_view r) override { return to_ ? to_->FtpExists(r) : NetStatus::Failed; }
  NetStatus FtpDelete(std::string_view r) override { return to_ ? to_->FtpDelete(r) : NetStatus::Failed; }
  NetStatus FtpRename(std::string_view a, std::string_view b) override {
    return to_ ? to_->FtpRename(a, b) : NetStatus::Failed;
  }
  NetStatus FtpModified(std::string_view r, int64_t& s) override {
    return to_ ? to_->FtpModified(r, s) : NetStatus::Failed;
  }
  NetStatus FtpList(std::vector<std::string>& names) override {
    return to_ ? to_->FtpList(names) : NetStatus::Failed;
  }
  void FtpClose() override {
    if (to_) to_->FtpClose();
  }
  bool InterfaceUp() override { return to_ && to_->InterfaceUp(); }
  bool IsThisMachine(std::string_view host) override {
    return to_ ? to_->IsThisMachine(host) : IsLoopbackName(host);
  }

 private:
  std::unique_ptr<Network> to_;
  NetLimits limits_;
};

}  // namespace vorlan::testing
