// State of the window, the input and the frame timing (modules Form1 and DirectInputMod).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace vorlan {

// One line of a notice over Field: a headline (yellow, bold) or its detail.
struct NoticeLine {
  std::string text;
  bool headline = false;
};

// The window's picture boxes and the flags every Part tests.
struct FormState {
  Surface Field;           // drawing surface of the 300 x 300 game view
  Surface FieldShown;      // what the player sees (updated by Refresh)
  Surface StatusField;     // drawing surface of the 300 x 78 status bar
  Surface StatusShown;     // what the player sees of it
  Surface Terain;          // terrain of the current map (320 x 320 after generation)
  Surface MenuField;       // background of the menu screens
  Surface LoadPicDC;       // work box for loading and capture
  std::string YourName;    // the name-entry text box
  int YourNameLeft = -45;  // parked off screen until the name entry needs it

  int16_t InGame = 0;
  int16_t Paused = 0;
  int16_t FieldOriginX = 0, FieldOriginY = 0;
  int16_t FieldOriginSet = 0;
  std::string SavedCaption;
  std::string StatusMessage;
  int16_t LoadingStep = 0;
  double DegToRad = 0.017453292519943295;
  bool Quit = false;            // the window was closed / unloaded: MainLoop ends
  bool Unloaded = false;        // WindowUnload has released everything
  int32_t PassesRun = 0;        // main-loop passes so far
  int32_t StopAfterPasses = 0;  // tests and benchmarks: end MainLoop after this many passes (0 = never)

  std::vector<NoticeLine> NoticeLines;    // what the game could not do, drawn over Field
  uint32_t NoticeUntil = 0;               // tick when the notice goes (0: not shown yet)
  std::vector<std::string> SavesFailing;  // saves told as failed since their last good save
};

struct InputState {
  std::array<uint8_t, 256> KeyState{};
  int32_t CursorX = 0, CursorY = 0;
  int32_t WindowLeft = 0, WindowTop = 0, WindowRight = 0, WindowBottom = 0;
  int16_t MouseLeft = 0, MouseRight = 0, MouseMiddle = 0;
  int16_t ScreenshotCounter = 0;
  bool InsertHeld = false;  // one screenshot per press
  bool KeyboardReady = false;
};

// Frame timing and the game clock.
struct TimingState {
  int32_t FrameCounter = 0;
  int32_t FramesLastSecond = 0;
  uint32_t LastSecondTick = 0;
  uint32_t NextFrameTick = 0;
  int32_t IdleSpins = 0;  // spare microseconds of the current tick
  int32_t MaxIdleSpins = 0;
  int16_t YieldPhase = 0;

  int16_t GameSeconds = 0, GameMinutes = 0;
  int16_t SpawnTimer = 0;
  int16_t FireStreak = 0;
  int16_t WavePending = 0;
  int16_t WaveSize = 0;
  int16_t WaveCountdown = 0;
  int16_t WaveLeft = 0;
};

}  // namespace vorlan
