// The narrow interface between the game and the machine: clock, window, events, keyboard,
// audio buffers, pictures on disk, fonts, message boxes and the network. The real implementation
// is SDL2 + libcurl (sdl_platform), the test implementation is headless (headless_platform).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.h"

namespace vorlan {

class Network;

// One window event, delivered by PollEvent during a yield.
struct Event {
  enum class Type { KeyDown, KeyUp, MouseDown, MouseUp, Text, Close };
  Type type = Type::Close;
  int keyCode = 0;   // Windows virtual-key code for key events
  int shift = 0;     // 1 shift, 2 ctrl, 4 alt
  int button = 0;    // 1 left, 2 right, 4 middle
  float x = 0, y = 0;  // mouse position in Field pixels
  std::string text;  // UTF-8 typed text for Text
};

// Message box styles and answers (Windows values).
constexpr int kMbOk = 0, kMbYesNo = 4, kMbIconExclamation = 48, kMbIconQuestion = 32,
              kMbIconInformation = 64;
constexpr int kIdOk = 1, kIdYes = 6, kIdNo = 7;

// An audio buffer's content: 16-bit PCM, interleaved when stereo.
struct PcmData {
  int sampleRate = 22050;
  int channels = 2;
  std::vector<int16_t> samples;
  size_t Bytes() const { return samples.size() * 2; }
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Clock ---
  // Milliseconds, monotonic.
  virtual uint32_t GetTickCount() = 0;
  // Microseconds, monotonic (same origin as GetTickCount x 1000).
  virtual uint64_t GetMicros() = 0;
  // Blocks until GetTickCount() > tick (the first millisecond after it), without spinning a core.
  virtual void WaitPastTick(uint32_t tick) = 0;
  // Seconds since midnight, local time (the seed of Randomize).
  virtual double Timer() = 0;
  // Today's local date as "yyyymmdd", and the local time as "hh:mm:ss".
  virtual std::string TodayText() = 0;

  // --- Window ---
  virtual void SetCaption(std::string_view caption) = 0;
  // Switches between the 300 x 378 window and the 640 x 480 full-screen canvas. Returns false
  // when full screen cannot be activated (the display stays windowed).
  virtual bool SetFullScreen(bool on) = 0;
  // Shows the displayed copies of Field and StatusField (each at its own canvas position).
  virtual void Present(const Surface& field, const Surface& statusField) = 0;
  // Cursor position in virtual screen pixels, where the window's outer rectangle starts at
  // GetWindowRect's left/top and Field's top-left lies at (left + 4, top + 23) windowed or
  // (left + 170, top + 50) full screen. So CursorX = x - left - originX maps into Field pixels.
  virtual void GetCursorPos(int& x, int& y) = 0;
  virtual void GetWindowRect(int& left, int& top, int& right, int& bottom) = 0;
  // Confines the cursor to Field (on) or frees it.
  virtual void ClipCursor(bool on) = 0;
  // Whether the window currently has the keyboard focus.
  virtual bool HasFocus() = 0;
  // Shows a modal message box; returns kIdOk, kIdYes or kIdNo.
  virtual int MessageBox(std::string_view text, std::string_view caption, int style) = 0;
  // Opens a web address in the desktop's browser.
  virtual void OpenUrl(std::string_view url) = 0;
  // Starts or stops delivering typed text (name entry).
  virtual void SetTextInput(bool on) = 0;

  // --- Events and keyboard ---
  // Takes the next pending window event; false when none is left.
  virtual bool PollEvent(Event& e) = 0;
  // Fills 256 bytes by DirectInput scan code (0x80 = down). All zero while the window has no
  // focus. Returns false when the state could not be read.
  virtual bool GetKeyboardState(uint8_t state[256]) = 0;

  // --- Audio: 40 buffers with DirectSound semantics ---
  // Creates (or replaces) buffer index with the given data. False on failure.
  virtual bool CreateSoundBuffer(int index, PcmData data) = 0;
  virtual void ReleaseSoundBuffer(int index) = 0;
  // Volume in hundredths of a decibel, -10000..0; values above 0 or below -10000 are rejected.
  virtual bool SetSoundVolume(int index, int volume) = 0;
  // Pan -10000 (left) .. 10000 (right).
  virtual bool SetSoundPan(int index, int pan) = 0;
  // Play cursor in bytes from the buffer start.
  virtual bool SetSoundPosition(int index, uint32_t bytes) = 0;
  // Plays from the current position; replaying a playing buffer does not start a second voice.
  virtual bool PlaySoundBuffer(int index, bool loop) = 0;
  // Stops; the position is kept.
  virtual bool StopSoundBuffer(int index) = 0;
  virtual bool SoundPlaying(int index) = 0;

  // --- Pictures and fonts ---
  // Loads a JPEG or BMP file into the surface (resized to the picture). False on failure.
  virtual bool LoadPicture(const std::filesystem::path& file, Surface& into) = 0;
  virtual bool SaveBmp(const Surface& s, const std::filesystem::path& file) = 0;
  virtual bool SaveJpeg(const Surface& s, const std::filesystem::path& file, int quality) = 0;
  virtual const TextRenderer& Fonts() = 0;
  // Physical memory in bytes: total and available.
  virtual void MemoryStatus(uint64_t& total, uint64_t& avail) = 0;

  // --- Folders ---
  // The program folder (the executable's folder, with Pictures/, Sounds/, OtherFiles/ beside it).
  virtual std::filesystem::path ProgramFolder() = 0;
  // The data folder standing in for "c:\Windows\" (created on demand).
  virtual std::filesystem::path DataFolder() = 0;

  // --- Network ---
  virtual Network& Net() = 0;
};

}  // namespace vorlan
