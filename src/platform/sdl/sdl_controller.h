// Game controllers through SDL's game-controller API, turned into what keyboard and mouse give:
// key states, mouse button and key events, and the cursor in Field pixels. The game never knows a
// controller is there. Two facts of the game steer the translation: whether a game runs unpaused
// (the cursor is confined to Field) and whether a name is being typed (text input is on).
//
//   left stick, D-pad     arrow keys (in the menus the left stick moves the cursor instead)
//   right stick           in a game: aim, the cursor 80 pixels from the player's centre, kept on
//                         release; in the menus: the cursor, faster the further it is pushed
//   right trigger, A      left button (in the menus a click at the cursor)
//   left trigger          right button        X        middle button
//   right shoulder        Q (fire mode)       B        Escape
//   Start                 Escape in a running game, else Enter     Back    Insert
//   name entry            D-pad up/down: the letter under the caret; right: one more letter;
//                         left: one less; A or Start: Enter
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/player_feedback.h"
#include "platform/window.h"

namespace vorlan {

class PadScript;

class Controllers {
 public:
  // mouseField tells where the mouse cursor is in Field pixels: a stick moving the cursor in the
  // menus starts from there.
  explicit Controllers(std::function<void(double&, double&)> mouseField);
  ~Controllers();

  // Opens SDL's game-controller subsystem (no controllers are read without it); controllers
  // already plugged in arrive as hot-plug events.
  void Start();
  // Closes every controller; must run before SDL_Quit.
  void Stop();

  // The game's state as the platform sees it.
  void SetInGame(bool running);
  void SetTextInput(bool on);
  // The mouse moved or was pressed: the cursor is the mouse's again.
  void MouseUsed();
  // What the keyboard typed into the name box, so that the D-pad knows the letter under the caret.
  void Typed(std::string_view utf8);
  void TypedBackspace();

  // Takes the controllers' events from SDL's queue and reads the sticks and triggers: before the
  // cursor, the keys or the events are read.
  void Update();
  // Handles a controller event met in SDL's queue; false for any other event.
  bool Handle(const SDL_Event& ev);

  // The cursor in Field pixels while a controller owns it; false while the mouse does.
  bool Cursor(double& fx, double& fy) const;
  // Adds the keys the controllers hold, or pressed since the last read, to a keyboard state.
  void AddKeys(uint8_t state[256]);
  // The next window event the controllers made; false when there is none.
  bool NextEvent(Event& e);

  void SetPlayerCentre(double x, double y);
  void Rumble(PlayerFeedback::Jolt jolt);

 private:
  // What a press stands for, decided when it starts and kept until it ends.
  struct Meaning {
    enum class Kind { Nothing, Key, Mouse, FireKey, NameEdit } kind = Kind::Nothing;
    int code = 0;  // scan code for Key, button (1, 2, 4) for Mouse
  };
  struct Pad {
    SDL_GameController* gc = nullptr;
    SDL_JoystickID id = -1;
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
  };
  // Presses: the buttons, then the two triggers.
  static constexpr int kTriggerLeft = SDL_CONTROLLER_BUTTON_MAX, kTriggerRight = kTriggerLeft + 1,
                       kPresses = kTriggerRight + 1;

  void HandleOne(const SDL_Event& ev);
  void Settle();
  void Open(int deviceIndex);
  void Close(SDL_JoystickID id);
  void ButtonsChanged();
  // A press starts or ends (nothing when it already stands so).
  void SetDown(int press, bool down);
  void Press(int press);
  void Release(int press);
  void ReadSticks();
  void RepeatLetter();
  void EditName(int button);
  void EmitMouse();
  void Emit(Event::Type type, int keyCode = 0, std::string text = {});

  std::function<void(double&, double&)> mouseField_;
  std::vector<Pad> pads_;
  bool started_ = false, inGame_ = false, textInput_ = false;
  std::array<bool, kPresses> down_{};
  std::array<Meaning, kPresses> meaning_{};
  uint8_t tapped_[256] = {};
  uint32_t stickKeys_ = 0;  // arrow scan codes the left stick holds, one bit per direction
  int mouseHeld_ = 0;       // buttons reported down, as the bits 1, 2, 4
  bool ownsCursor_ = false;
  double cursorX_ = 150, cursorY_ = 150, centreX_ = 150, centreY_ = 150;
  uint64_t lastMoveMs_ = 0;
  std::deque<Event> events_;
  std::string box_;  // the name box as far as it is known: the letter under the caret is its last
  int repeatButton_ = -1;
  uint64_t repeatAtMs_ = 0;
  uint64_t strongRumbleUntilMs_ = 0;
  std::unique_ptr<PadScript> script_;
};

}  // namespace vorlan
