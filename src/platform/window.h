// The window and its events: what the player sees, the cursor, message boxes and the desktop's
// browser.
#pragma once

#include <string>
#include <string_view>

#include "platform/surface.h"

namespace vorlan {

// One window event, delivered by PollEvent during a yield.
struct Event {
  enum class Type { KeyDown, KeyUp, MouseDown, MouseUp, Text, Close };
  Type type = Type::Close;
  int keyCode = 0;     // Windows virtual-key code for key events
  int shift = 0;       // 1 shift, 2 ctrl, 4 alt
  int button = 0;      // 1 left, 2 right, 4 middle
  float x = 0, y = 0;  // mouse position in Field pixels
  std::string text;    // UTF-8 typed text for Text
};

// Message box styles and answers (Windows values).
constexpr int kMbOk = 0, kMbYesNo = 4, kMbIconExclamation = 48, kMbIconQuestion = 32, kMbIconInformation = 64;
constexpr int kIdOk = 1, kIdYes = 6, kIdNo = 7;  // 0: no box was shown

class Window {
 public:
  virtual ~Window() = default;

  // Sets the window's title.
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
  // The window's outer rectangle in virtual screen pixels.
  virtual void GetWindowRect(int& left, int& top, int& right, int& bottom) = 0;
  // Confines the cursor to Field (on) or frees it.
  virtual void ClipCursor(bool on) = 0;
  // Whether the window currently has the keyboard focus.
  virtual bool HasFocus() = 0;
  // Shows a modal message box; returns kIdOk, kIdYes or kIdNo, or 0 when no box could be shown.
  virtual int MessageBox(std::string_view text, std::string_view caption, int style) = 0;
  // Opens a web address in the desktop's browser.
  virtual void OpenUrl(std::string_view url) = 0;
  // Starts or stops delivering typed text (name entry).
  virtual void SetTextInput(bool on) = 0;
  // Takes the next pending window event; false when none is left.
  virtual bool PollEvent(Event& e) = 0;
};

}  // namespace vorlan
