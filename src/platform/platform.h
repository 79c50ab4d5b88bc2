// The machine as the game sees it: one object offering every service (clock, window and events,
// keyboard, audio, pictures and fonts, folders, network, the player's news for a game controller),
// each declared in a header of its own. The real implementation is SDL2 + libcurl (sdl/), the test
// implementation is headless (headless/).
#pragma once

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/keyboard.h"
#include "platform/pictures_fonts.h"
#include "platform/player_feedback.h"
#include "platform/window.h"

namespace vorlan {

class Network;

class Platform : public Clock,
                 public Window,
                 public Keyboard,
                 public Audio,
                 public PicturesAndFonts,
                 public Folders,
                 public PlayerFeedback {
 public:
  // The network service (lives as long as the platform).
  virtual Network& Net() = 0;
};

}  // namespace vorlan
