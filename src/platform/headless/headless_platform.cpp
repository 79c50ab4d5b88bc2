// The headless platform: a virtual clock that only the tick's wait and the test move, scripted
// events and keys, a recording audio layer over the real mixer, real pictures and fonts, and
// temporary folders that go away with it.
#include "platform/headless/headless_platform.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "platform/media/media.h"
#include "platform/mixer.h"
#include "platform/network.h"

namespace vorlan {

namespace {
std::filesystem::path MakeTempFolder(const char* what) {
  std::error_code ec;
  auto base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
#ifdef _WIN32
  // No mkdtemp: a random name, taken only if nobody has it yet.
  std::random_device random;
  for (int tries = 0; tries < 100; ++tries) {
    auto folder = base / ("vorlan-" + std::string(what) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(folder, ec)) return folder;
  }
  return {};
#else
  std::string pattern = (base / ("vorlan-" + std::string(what) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
#endif
}
}  // namespace

struct HeadlessPlatform::Impl {
  uint32_t tick = 1000;
  std::deque<Event> events;
  uint8_t keys[256] = {};
  int cursorX = 0, cursorY = 0;
  bool focus = true, fullScreenFails = false;
  int answer = kIdOk;
  Mixer mixer;
  BufferState buffers[Mixer::kBuffers];  // a view of the mixer's voices, refreshed on request
  BufferState none;
  std::unique_ptr<TextRenderer> fonts = MakeTextRenderer();
  std::unique_ptr<Network> net;

  bool Record(std::vector<AudioCall>& calls, AudioCall::Op op, int index, long value, bool accepted) {
    calls.push_back({op, index, value, accepted});
    return accepted;
  }
};

HeadlessPlatform::HeadlessPlatform(std::filesystem::path program, std::filesystem::path data)
    : impl_(std::make_unique<Impl>()), program_(std::move(program)), data_(std::move(data)) {
  if (program_.empty()) {
    program_ = MakeTempFolder("program");
    ownProgram_ = true;
  }
  if (data_.empty()) {
    data_ = MakeTempFolder("data");
    ownData_ = true;
  }
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
void HeadlessPlatform::SetCursorField(int x, int y) {
  impl_->cursorX = x;
  impl_->cursorY = y;
}
void HeadlessPlatform::SetFocus(bool focused) { impl_->focus = focused; }
void HeadlessPlatform::SetFullScreenFails(bool fails) { impl_->fullScreenFails = fails; }
void HeadlessPlatform::SetMessageBoxAnswer(int answer) { impl_->answer = answer; }
const HeadlessPlatform::BufferState& HeadlessPlatform::Buffer(int index) const {
  if (index < 0 || index >= Mixer::kBuffers) return impl_->none;
  const Mixer::Voice& v = impl_->mixer.State(index);
  BufferState& b = impl_->buffers[index];
  b.exists = v.exists;
  b.playing = v.playing;
  b.looping = v.looping;
  b.volume = v.volume;
  b.pan = v.pan;
  b.position = v.PositionBytes();
  if (!v.exists) b.data = PcmData();
  return b;
}
std::vector<int16_t> HeadlessPlatform::MixFrames(size_t frames) {
  std::vector<int16_t> out(frames * 2);
  impl_->mixer.Mix(out.data(), frames, 22050);
  return out;
}

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
  left = 0;
  top = 0;
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
void HeadlessPlatform::SetPlayerCentre(double x, double y) {
  playerCentreX = x;
  playerCentreY = y;
}
void HeadlessPlatform::Rumble(Jolt jolt) { rumbles.push_back(jolt); }
bool HeadlessPlatform::PollEvent(Event& e) {
  if (impl_->events.empty()) return false;
  e = std::move(impl_->events.front());
  impl_->events.pop_front();
  return true;
}
bool HeadlessPlatform::GetKeyboardState(uint8_t state[256]) {
  if (impl_->focus)
    std::memcpy(state, impl_->keys, 256);
  else
    std::memset(state, 0, 256);
  return true;
}
bool HeadlessPlatform::CreateSoundBuffer(int index, PcmData data) {
  PcmData copy = data;
  bool ok = impl_->mixer.Create(index, std::move(data));
  if (ok) impl_->buffers[index].data = std::move(copy);
  return impl_->Record(audioCalls, AudioCall::Op::Create, index, 0, ok);
}
void HeadlessPlatform::ReleaseSoundBuffer(int index) {
  bool ok = impl_->mixer.State(index).exists;
  impl_->mixer.Release(index);
  impl_->Record(audioCalls, AudioCall::Op::Release, index, 0, ok);
}
bool HeadlessPlatform::SetSoundVolume(int index, int volume) {
  return impl_->Record(audioCalls, AudioCall::Op::Volume, index, volume,
                       impl_->mixer.SetVolume(index, volume));
}
bool HeadlessPlatform::SetSoundPan(int index, int pan) {
  return impl_->Record(audioCalls, AudioCall::Op::Pan, index, pan, impl_->mixer.SetPan(index, pan));
}
bool HeadlessPlatform::SetSoundPosition(int index, uint32_t bytes) {
  return impl_->Record(audioCalls, AudioCall::Op::Position, index, static_cast<long>(bytes),
                       impl_->mixer.SetPosition(index, bytes));
}
bool HeadlessPlatform::PlaySoundBuffer(int index, bool loop) {
  return impl_->Record(audioCalls, AudioCall::Op::Play, index, loop ? 1 : 0, impl_->mixer.Play(index, loop));
}
bool HeadlessPlatform::StopSoundBuffer(int index) {
  return impl_->Record(audioCalls, AudioCall::Op::Stop, index, 0, impl_->mixer.Stop(index));
}
bool HeadlessPlatform::SoundPlaying(int index) { return impl_->mixer.Playing(index); }
bool HeadlessPlatform::LoadPicture(const std::filesystem::path& file, Surface& into) {
  return LoadPictureFile(file, into);
}
bool HeadlessPlatform::PictureSize(const std::filesystem::path& file, int& w, int& h) {
  return PictureFileSize(file, w, h);
}
bool HeadlessPlatform::SaveBmp(const Surface& s, const std::filesystem::path& file) {
  return SaveBmpFile(s, file);
}
bool HeadlessPlatform::SaveJpeg(const Surface& s, const std::filesystem::path& file, int q) {
  return SaveJpegFile(s, file, q);
}
const TextRenderer& HeadlessPlatform::Fonts() { return *impl_->fonts; }
// Fixed numbers keep the information line reproducible in tests.
void HeadlessPlatform::MemoryStatus(uint64_t& total, uint64_t& avail) {
  total = 8ull << 30;
  avail = 4ull << 30;
}
std::filesystem::path HeadlessPlatform::ProgramFolder() { return program_; }
std::filesystem::path HeadlessPlatform::DataFolder() { return data_; }
std::string HeadlessPlatform::GetEnv(std::string_view name) {
  auto it = environment.find(std::string(name));
  return it == environment.end() ? std::string() : it->second;
}
Network& HeadlessPlatform::Net() {
  if (!impl_->net) impl_->net = MakeCurlNetwork();
  return *impl_->net;
}

}  // namespace vorlan
