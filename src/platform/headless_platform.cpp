// The headless platform (temporary bodies while the full one lands): virtual clock, temporary
// folders, scripted input.
#include "platform/headless_platform.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

#include "platform/media.h"
#include "platform/network.h"

namespace vorlan {

namespace {
std::filesystem::path MakeTempFolder(const char* what) {
  static std::atomic<int> counter{0};
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    auto p = base / ("vorlan-" + std::string(what) + "-" + std::to_string(getpid()) + "-" +
                     std::to_string(counter++));
    std::error_code ec;
    if (std::filesystem::create_directory(p, ec)) return p;
    if (ec) return p;
  }
}
}  // namespace

struct HeadlessPlatform::Impl {
  uint32_t tick = 1000;
  std::deque<Event> events;
  uint8_t keys[256] = {};
  int cursorX = 0, cursorY = 0;
  bool focus = true, fullScreenFails = false;
  int answer = kIdOk;
  BufferState buffers[64];
  BufferState none;
  std::unique_ptr<TextRenderer> fonts = MakeTextRenderer();
  Network net;
};

HeadlessPlatform::HeadlessPlatform(std::filesystem::path program, std::filesystem::path data)
    : impl_(std::make_unique<Impl>()), program_(std::move(program)), data_(std::move(data)) {
  if (program_.empty()) { program_ = MakeTempFolder("program"); ownProgram_ = true; }
  if (data_.empty()) { data_ = MakeTempFolder("data"); ownData_ = true; }
}
HeadlessPlatform::~HeadlessPlatform() {
  std::error_code ec;
  if (ownProgram_) std::filesystem::remove_all(program_, ec);
  if (ownData_) std::filesystem::remove_all(data_, ec);
}

void HeadlessPlatform::AdvanceMs(uint32_t ms) { impl_->tick += ms; }
void HeadlessPlatform::SetTickCount(uint32_t ms) { impl_->tick = ms; }
void HeadlessPlatform::PushEvent(const Event& e) { impl_->events.push_back(e); }
void HeadlessPlatform::SetKey(int scanCode, bool down) { impl_->keys[scanCode & 255] = down ? 0x80 : 0; }
void HeadlessPlatform::SetCursorField(int x, int y) { impl_->cursorX = x; impl_->cursorY = y; }
void HeadlessPlatform::SetFocus(bool focused) { impl_->focus = focused; }
void HeadlessPlatform::SetFullScreenFails(bool fails) { impl_->fullScreenFails = fails; }
void HeadlessPlatform::SetMessageBoxAnswer(int answer) { impl_->answer = answer; }
const HeadlessPlatform::BufferState& HeadlessPlatform::Buffer(int index) const {
  if (index < 0 || index >= 64) return impl_->none;
  return impl_->buffers[index];
}
std::vector<int16_t> HeadlessPlatform::MixFrames(size_t frames) { return std::vector<int16_t>(frames * 2); }

uint32_t HeadlessPlatform::GetTickCount() { return impl_->tick; }
uint64_t HeadlessPlatform::GetMicros() { return uint64_t{impl_->tick} * 1000; }
void HeadlessPlatform::WaitPastTick(uint32_t tick) {
  if (static_cast<int32_t>(impl_->tick - tick) <= 0) impl_->tick = tick + 1;
}
double HeadlessPlatform::Timer() { return 43200.0; }
std::string HeadlessPlatform::TodayText() { return "20260101"; }
void HeadlessPlatform::SetCaption(std::string_view c) { caption = std::string(c); }
bool HeadlessPlatform::SetFullScreen(bool on) {
  if (on && impl_->fullScreenFails) return false;
  fullScreen = on;
  return true;
}
void HeadlessPlatform::Present(const Surface& field, const Surface& statusField) {
  ++presentCount;
  lastField = field;
  lastStatus = statusField;
}
void HeadlessPlatform::GetCursorPos(int& x, int& y) {
  x = impl_->cursorX + (fullScreen ? 170 : 4);
  y = impl_->cursorY + (fullScreen ? 50 : 23);
}
void HeadlessPlatform::GetWindowRect(int& left, int& top, int& right, int& bottom) {
  left = 0; top = 0;
  right = fullScreen ? 640 : 308;
  bottom = fullScreen ? 480 : 405;
}
void HeadlessPlatform::ClipCursor(bool on) { cursorClipped = on; }
bool HeadlessPlatform::HasFocus() { return impl_->focus; }
int HeadlessPlatform::MessageBox(std::string_view text, std::string_view cap, int) {
  messageBoxes.push_back(std::string(cap) + "|" + std::string(text));
  return impl_->answer;
}
void HeadlessPlatform::OpenUrl(std::string_view url) { openedUrls.emplace_back(url); }
void HeadlessPlatform::SetTextInput(bool on) { textInput = on; }
bool HeadlessPlatform::PollEvent(Event& e) {
  if (impl_->events.empty()) return false;
  e = std::move(impl_->events.front());
  impl_->events.pop_front();
  return true;
}
bool HeadlessPlatform::GetKeyboardState(uint8_t state[256]) {
  if (impl_->focus) std::memcpy(state, impl_->keys, 256); else std::memset(state, 0, 256);
  return true;
}
bool HeadlessPlatform::CreateSoundBuffer(int index, PcmData) { audioCalls.push_back({AudioCall::Op::Create, index, 0, true}); return true; }
void HeadlessPlatform::ReleaseSoundBuffer(int index) { audioCalls.push_back({AudioCall::Op::Release, index, 0, true}); }
bool HeadlessPlatform::SetSoundVolume(int index, int v) { audioCalls.push_back({AudioCall::Op::Volume, index, v, true}); return true; }
bool HeadlessPlatform::SetSoundPan(int index, int v) { audioCalls.push_back({AudioCall::Op::Pan, index, v, true}); return true; }
bool HeadlessPlatform::SetSoundPosition(int index, uint32_t v) { audioCalls.push_back({AudioCall::Op::Position, index, static_cast<long>(v), true}); return true; }
bool HeadlessPlatform::PlaySoundBuffer(int index, bool loop) { audioCalls.push_back({AudioCall::Op::Play, index, loop, true}); return true; }
bool HeadlessPlatform::StopSoundBuffer(int index) { audioCalls.push_back({AudioCall::Op::Stop, index, 0, true}); return true; }
bool HeadlessPlatform::SoundPlaying(int) { return false; }
bool HeadlessPlatform::LoadPicture(const std::filesystem::path& file, Surface& into) { return LoadPictureFile(file, into); }
bool HeadlessPlatform::SaveBmp(const Surface& s, const std::filesystem::path& file) { return SaveBmpFile(s, file); }
bool HeadlessPlatform::SaveJpeg(const Surface& s, const std::filesystem::path& file, int q) { return SaveJpegFile(s, file, q); }
const TextRenderer& HeadlessPlatform::Fonts() { return *impl_->fonts; }
void HeadlessPlatform::MemoryStatus(uint64_t& total, uint64_t& avail) { total = 8ull << 30; avail = 4ull << 30; }
std::filesystem::path HeadlessPlatform::ProgramFolder() { return program_; }
std::filesystem::path HeadlessPlatform::DataFolder() { return data_; }
Network& HeadlessPlatform::Net() { return impl_->net; }

}  // namespace vorlan
