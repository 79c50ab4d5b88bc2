// The keyboard service: which keys are held, read once a frame.
#pragma once

#include <cstdint>

namespace vorlan {

class Keyboard {
 public:
  virtual ~Keyboard() = default;

  // Fills 256 bytes by DirectInput scan code (0x80 = down). All zero while the window has no
  // focus. Returns false when the state could not be read.
  virtual bool GetKeyboardState(uint8_t state[256]) = 0;
};

}  // namespace vorlan
