// The headless platform for tests: no window, a virtual clock that the tick's wait advances,
// scripted events, keyboard and environment, a recording audio layer that can also mix offline,
// temporary folders. Pictures and fonts are real (same media code as the game).
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vorlan {

class HeadlessPlatform : public Platform {
 public:
  // One recorded call on an audio buffer.
  struct AudioCall {
    enum class Op { Create, Release, Volume, Pan, Position, Play, Stop } op;
    int index = 0;
    long value = 0;  // volume, pan, position or loop flag
    bool accepted = true;
  };

  // program: folder with Pictures/, Sounds/, OtherFiles/ (empty: a fresh temporary folder);
  // data: the data folder (empty: a fresh temporary folder). Temporary folders are removed
  // when the platform is destroyed.
  explicit HeadlessPlatform(std::filesystem::path program = {}, std::filesystem::path data = {});
  ~HeadlessPlatform() override;

  // --- Test controls ---
  void AdvanceMs(uint32_t ms);  // moves the virtual clock
  void SetTickCount(uint32_t ms);
  void PushEvent(const Event& e);        // delivered by the next PollEvent calls
  void SetKey(int scanCode, bool down);  // keyboard state by DirectInput scan code
  void SetCursorField(int x, int y);     // cursor in Field pixels
  void SetFocus(bool focused);
  void SetFullScreenFails(bool fails);  // SetFullScreen(true) then returns false
  void SetMessageBoxAnswer(int answer);  // 0: no box can be shown
  std::vector<std::string> messageBoxes;  // "caption|text" of every message box shown
  std::vector<std::string> openedUrls;
  std::vector<AudioCall> audioCalls;  // every audio call in order
  int presentCount = 0;
  bool fullScreen = false;
  bool cursorClipped = false;
  bool textInput = false;
  double playerCentreX = -1, playerCentreY = -1;  // the last centre the game told
  std::vector<Jolt> rumbles;                      // every rumble asked for, in order
  std::string caption;
  std::map<std::string, std::string> environment;  // what GetEnv answers (nothing set at first)
  // Per-buffer state of the recording audio.
  struct BufferState {
    bool exists = false, playing = false, looping = false;
    int volume = 0, pan = 0;
    uint32_t position = 0;
    PcmData data;
  };
  const BufferState& Buffer(int index) const;
  // Mixes the playing buffers offline for the given number of stereo frames (advancing them).
  std::vector<int16_t> MixFrames(size_t frames);
  const std::filesystem::path& ProgramDir() const { return program_; }
  const std::filesystem::path& DataDir() const { return data_; }
  std::filesystem::path contentFolder;  // read-only content apart from the program folder (installed)

  // --- Platform ---
  uint32_t GetTickCount() override;
  uint64_t GetMicros() override;
  void WaitPastTick(uint32_t tick) override;
  double Timer() override;
  std::string TodayText() override;
  void SetCaption(std::string_view caption) override;
  bool SetFullScreen(bool on) override;
  void Present(const Surface& field, const Surface& statusField) override;
  void GetCursorPos(int& x, int& y) override;
  void GetWindowRect(int& left, int& top, int& right, int& bottom) override;
  void ClipCursor(bool on) override;
  bool HasFocus() override;
  int MessageBox(std::string_view text, std::string_view caption, int style) override;
  void OpenUrl(std::string_view url) override;
  void SetTextInput(bool on) override;
  bool PollEvent(Event& e) override;
  void SetPlayerCentre(double x, double y) override;
  void Rumble(Jolt jolt) override;
  bool GetKeyboardState(uint8_t state[256]) override;
  bool CreateSoundBuffer(int index, PcmData data) override;
  void ReleaseSoundBuffer(int index) override;
  bool SetSoundVolume(int index, int volume) override;
  bool SetSoundPan(int index, int pan) override;
  bool SetSoundPosition(int index, uint32_t bytes) override;
  bool PlaySoundBuffer(int index, bool loop) override;
  bool StopSoundBuffer(int index) override;
  bool SoundPlaying(int index) override;
  bool LoadPicture(const std::filesystem::path& file, Surface& into) override;
  bool PictureSize(const std::filesystem::path& file, int& w, int& h) override;
  bool SaveBmp(const Surface& s, const std::filesystem::path& file) override;
  bool SaveJpeg(const Surface& s, const std::filesystem::path& file, int quality) override;
  const TextRenderer& Fonts() override;
  void MemoryStatus(uint64_t& total, uint64_t& avail) override;
  std::filesystem::path ProgramFolder() override;
  std::filesystem::path DataFolder() override;
  std::string GetEnv(std::string_view name) override;
  std::filesystem::path ContentFolder() override { return contentFolder; }
  Network& Net() override;

  Surface lastField, lastStatus;  // what the last Present showed

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::filesystem::path program_, data_;
  bool ownProgram_ = false, ownData_ = false;
};

}  // namespace vorlan
