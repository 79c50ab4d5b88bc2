// A game controller for the tests: SDL's virtual joystick with a controller mapping of its own, so
// SDL knows it the way it knows a real one from its database. The platform's test drives one
// directly; the end-to-end test drives one inside the real game through a script file.
#pragma once

#include <SDL.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace vorlan {

class VirtualPad {
 public:
  VirtualPad() = default;
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;
  ~VirtualPad() { Detach(); }

  // Plugs the pad in (sticks centred, triggers and buttons up); false when SDL has no virtual
  // joysticks or its controller subsystem is not running.
  bool Attach();
  // Pulls the pad out.
  void Detach();
  bool Attached() const { return joy_ != nullptr; }
  void SetButton(SDL_GameControllerButton b, bool down);
  // Sticks from -32768 to 32767; triggers from 0 (up) to 32767 (fully pulled).
  void SetAxis(SDL_GameControllerAxis a, int value);

  // Every rumble the pad was asked for, (low, high) motor strength; (0, 0) when one ends.
  std::vector<std::pair<int, int>> rumbles;

 private:
  static int OnRumble(void* self, Uint16 low, Uint16 high);
  int AttachDevice();
  SDL_Joystick* joy_ = nullptr;
};

// Plays the commands a test appends to a file, one command a step so that every press is seen:
// "attach", "detach", "button <name> 0|1", "axis <name> <value>" (SDL's names: a, start, dpup,
// leftx, righttrigger...). The rumbles the pad feels are written to standard error.
class PadScript {
 public:
  explicit PadScript(std::string file) : file_(std::move(file)) {}
  ~PadScript();
  void Step();

 private:
  void Run(const std::string& line);
  std::string file_, partial_;
  std::FILE* in_ = nullptr;
  size_t rumblesLogged_ = 0;
  VirtualPad pad_;
};

}  // namespace vorlan
