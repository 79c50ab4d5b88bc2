#include "platform/sdl/sdl_controller.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/key_map.h"
#include "platform/sdl/sdl_virtual_pad.h"

namespace vorlan {

namespace {

constexpr double kDeadZone = 0.25;    // of a stick's travel
constexpr double kAimRadius = 80;     // Field pixels from the player's centre
constexpr double kCursorSpeed = 300;  // Field pixels a second at full deflection in the menus
constexpr int kTriggerDown = 16384;   // half the travel presses a trigger...
constexpr int kTriggerUp = 8192;      // ...and a quarter lets it go, so a resting finger does not chatter
constexpr uint64_t kRepeatFirstMs = 400, kRepeatMs = 110;  // a held letter key runs through the letters
constexpr size_t kNameWidth = 35;                          // the widest name the score tables hold
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";

// Arrow keys as bits, in the order of kArrowKeys.
constexpr uint32_t kLeft = 1, kRight = 2, kUp = 4, kDown = 8;
constexpr int kArrowKeys[] = {dik::Left, dik::Right, dik::Up, dik::Down};

double Axis(SDL_GameController* gc, SDL_GameControllerAxis a) {
  return std::clamp(SDL_GameControllerGetAxis(gc, a) / 32767.0, -1.0, 1.0);
}

double Length(double x, double y) { return std::min(std::hypot(x, y), 1.0); }

// The arrow keys of a stick: eight directions, the diagonals giving two keys.
uint32_t StickArrows(double x, double y) {
  if (Length(x, y) <= kDeadZone) return 0;
  constexpr double kPi = 3.14159265358979323846;
  int sector = static_cast<int>(std::lround(std::atan2(y, x) / (kPi / 4)));  // 0 right, 2 down
  sector = (sector + 8) % 8;
  uint32_t keys = 0;
  if (sector == 7 || sector == 0 || sector == 1) keys |= kRight;
  if (sector >= 1 && sector <= 3) keys |= kDown;
  if (sector >= 3 && sector <= 5) keys |= kLeft;
  if (sector >= 5 && sector <= 7) keys |= kUp;
  return keys;
}

double OnField(double v) { return std::clamp(v, 0.0, 299.0); }

}  // namespace

Controllers::Controllers(std::function<void(double&, double&)> mouseField)
    : mouseField_(std::move(mouseField)) {}

Controllers::~Controllers() { Stop(); }

void Controllers::Start() {
  // Buttons by their place (A south, B east, X west), whatever the maker prints on them.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
  started_ = true;
  lastMoveMs_ = SDL_GetTicks64();
  // Only the end-to-end tests set this: a virtual controller they drive through a file.
  if (const char* file = std::getenv("VORLAN_TEST_CONTROLLER"); file && *file)
    script_ = std::make_unique<PadScript>(file);
}

void Controllers::Stop() {
  if (!started_) return;
  for (Pad& p : pads_) SDL_GameControllerClose(p.gc);
  pads_.clear();
  script_.reset();
  started_ = false;
}

void Controllers::SetInGame(bool running) { inGame_ = running; }

void Controllers::SetTextInput(bool on) {
  // The game empties the box whenever an entry begins.
  if (on && !textInput_) box_.clear();
  if (!on) repeatButton_ = -1;
  textInput_ = on;
}

void Controllers::MouseUsed() { ownsCursor_ = false; }

void Controllers::Typed(std::string_view utf8) {
  if (!textInput_) return;
  for (unsigned char c : utf8) {
    // One place a character, none for control characters, as in the box; a letter from
    // beyond ASCII is only a place here.
    if ((c & 0xC0) == 0x80 || c < 0x20 || c == 0x7F) continue;
    if (box_.size() >= kNameWidth) break;
    box_ += c < 0x80 ? static_cast<char>(c) : '\x01';
  }
}

void Controllers::TypedBackspace() {
  if (textInput_ && !box_.empty()) box_.pop_back();
}

void Controllers::Update() {
  if (!started_) return;
  if (script_) script_->Step();
  SDL_PumpEvents();
  SDL_Event evs[16];
  int n;
  while ((n = SDL_PeepEvents(evs, 16, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERSENSORUPDATE)) >
         0)
    for (int i = 0; i < n; ++i) HandleOne(evs[i]);
  Settle();
}

bool Controllers::Handle(const SDL_Event& ev) {
  if (ev.type < SDL_CONTROLLERAXISMOTION || ev.type > SDL_CONTROLLERSENSORUPDATE) return false;
  HandleOne(ev);
  Settle();
  return true;
}

void Controllers::HandleOne(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(ev.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      Close(ev.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      for (Pad& p : pads_)
        if (p.id == ev.cbutton.which && ev.cbutton.button < SDL_CONTROLLER_BUTTON_MAX)
          p.buttons[ev.cbutton.button] = ev.cbutton.state == SDL_PRESSED;
      ButtonsChanged();
      break;
    default:
      break;  // sticks and triggers are read as they stand; touchpads and sensors are not used
  }
}

// After events: the sticks and triggers as they stand, letter repeats, mouse button changes.
void Controllers::Settle() {
  ReadSticks();
  RepeatLetter();
  EmitMouse();
}

bool Controllers::Cursor(double& fx, double& fy) const {
  if (!ownsCursor_) return false;
  fx = cursorX_;
  fy = cursorY_;
  return true;
}

void Controllers::AddKeys(uint8_t state[256]) {
  for (const Meaning& m : meaning_)
    if (m.kind == Meaning::Kind::Key) state[m.code] = 0x80;
  for (int i = 0; i < 4; ++i)
    if (stickKeys_ & (1u << i)) state[kArrowKeys[i]] = 0x80;
  for (int k = 0; k < 256; ++k)
    if (tapped_[k]) state[k] = 0x80;
  std::fill(std::begin(tapped_), std::end(tapped_), 0);
}

bool Controllers::NextEvent(Event& e) {
  if (events_.empty()) return false;
  e = std::move(events_.front());
  events_.pop_front();
  return true;
}

void Controllers::SetPlayerCentre(double x, double y) {
  centreX_ = x;
  centreY_ = y;
}

void Controllers::Rumble(PlayerFeedback::Jolt jolt) {
  const uint64_t now = SDL_GetTicks64();
  const bool blast = jolt == PlayerFeedback::Jolt::Blast;
  // A hit does not cut a blast's rumble short.
  if (!blast && now < strongRumbleUntilMs_) return;
  const Uint16 low = blast ? 0xC000 : 0x1800, high = blast ? 0x9000 : 0x5000;
  const Uint32 ms = blast ? 260 : 90;
  for (Pad& p : pads_) SDL_GameControllerRumble(p.gc, low, high, ms);
  if (blast) strongRumbleUntilMs_ = now + ms;
}

void Controllers::Open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  SDL_GameController* gc = SDL_GameControllerOpen(deviceIndex);
  if (!gc) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(gc));
  for (const Pad& p : pads_)
    if (p.id == id) {
      SDL_GameControllerClose(gc);  // already open: SDL counts the second opening
      return;
    }
  pads_.push_back({gc, id, {}});
}

void Controllers::Close(SDL_JoystickID id) {
  auto it = std::find_if(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.id == id; });
  if (it == pads_.end()) return;
  SDL_GameControllerClose(it->gc);
  pads_.erase(it);
  ButtonsChanged();
  // A controller lost in the middle of a game pauses it, as Escape does.
  if (inGame_) tapped_[dik::Escape] = 1;
}

void Controllers::ButtonsChanged() {
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
    const bool any = std::any_of(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.buttons[b]; });
    SetDown(b, any);
  }
}

void Controllers::SetDown(int press, bool down) {
  if (down == down_[press]) return;
  down_[press] = down;
  if (down)
    Press(press);
  else
    Release(press);
}

void Controllers::Press(int press) {
  using K = Meaning::Kind;
  Meaning m;
  switch (press) {
    case SDL_CONTROLLER_BUTTON_A:
      m = textInput_ ? Meaning{K::Key, dik::Return} : Meaning{K::Mouse, 1};
      break;
    case SDL_CONTROLLER_BUTTON_B:
      m = {K::Key, dik::Escape};
      break;
    case SDL_CONTROLLER_BUTTON_BACK:
      m = {K::Key, dik::Insert};
      break;
    case SDL_CONTROLLER_BUTTON_X:
      m = {K::Mouse, 4};
      break;
    case SDL_CONTROLLER_BUTTON_START:
      // Pause in a running game; anywhere else the key that starts, resumes or ends the entry.
      m = {K::Key, inGame_ && !textInput_ ? dik::Escape : dik::Return};
      break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      m = {K::FireKey, 0};
      Emit(Event::Type::KeyDown, vk::Q);
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      if (textInput_) {
        m = {K::NameEdit, 0};
        EditName(press);
        repeatButton_ = press;
        repeatAtMs_ = SDL_GetTicks64() + kRepeatFirstMs;
      } else {
        const int arrow = press == SDL_CONTROLLER_BUTTON_DPAD_UP     ? dik::Up
                          : press == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? dik::Down
                          : press == SDL_CONTROLLER_BUTTON_DPAD_LEFT ? dik::Left
                                                                     : dik::Right;
        m = {K::Key, arrow};
      }
      break;
    case kTriggerRight:
      m = {K::Mouse, 1};
      break;
    case kTriggerLeft:
      m = {K::Mouse, 2};
      break;
    default:
      break;
  }
  // A press shorter than the time between two keyboard reads still counts once.
  if (m.kind == K::Key) tapped_[m.code] = 1;
  meaning_[press] = m;
}

void Controllers::Release(int press) {
  if (meaning_[press].kind == Meaning::Kind::FireKey) Emit(Event::Type::KeyUp, vk::Q);
  if (repeatButton_ == press) repeatButton_ = -1;
  meaning_[press] = {};
}

void Controllers::ReadSticks() {
  double lx = 0, ly = 0, rx = 0, ry = 0;
  int triggerL = 0, triggerR = 0;
  for (const Pad& p : pads_) {
    const double x1 = Axis(p.gc, SDL_CONTROLLER_AXIS_LEFTX), y1 = Axis(p.gc, SDL_CONTROLLER_AXIS_LEFTY);
    const double x2 = Axis(p.gc, SDL_CONTROLLER_AXIS_RIGHTX), y2 = Axis(p.gc, SDL_CONTROLLER_AXIS_RIGHTY);
    if (Length(x1, y1) > Length(lx, ly)) lx = x1, ly = y1;
    if (Length(x2, y2) > Length(rx, ry)) rx = x2, ry = y2;
    triggerL = std::max<int>(triggerL, SDL_GameControllerGetAxis(p.gc, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    triggerR = std::max<int>(triggerR, SDL_GameControllerGetAxis(p.gc, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
  }
  for (auto [press, value] : {std::pair{kTriggerLeft, triggerL}, std::pair{kTriggerRight, triggerR}}) {
    SetDown(press, value > (down_[press] ? kTriggerUp : kTriggerDown));
  }

  const uint64_t now = SDL_GetTicks64();
  // A long gap (a menu waiting on the network) is not a long push.
  const double seconds = static_cast<double>(std::min<uint64_t>(now - lastMoveMs_, 50)) / 1000;
  lastMoveMs_ = now;
  uint32_t keys = 0;
  if (inGame_ && !textInput_) {
    keys = StickArrows(lx, ly);
    const double len = std::hypot(rx, ry);
    if (Length(rx, ry) > kDeadZone) {
      ownsCursor_ = true;
      cursorX_ = OnField(centreX_ + kAimRadius * rx / len);
      cursorY_ = OnField(centreY_ + kAimRadius * ry / len);
    }
  } else {
    // In the menus either stick moves the cursor like a mouse; the one pushed further leads.
    double x = lx, y = ly;
    if (Length(rx, ry) > Length(lx, ly)) x = rx, y = ry;
    const double len = Length(x, y);
    if (len > kDeadZone) {
      if (!ownsCursor_) {
        mouseField_(cursorX_, cursorY_);
        cursorX_ = OnField(cursorX_);
        cursorY_ = OnField(cursorY_);
        ownsCursor_ = true;
      }
      const double push = (len - kDeadZone) / (1 - kDeadZone);
      const double step = kCursorSpeed * push * push * seconds / std::hypot(x, y);
      cursorX_ = OnField(cursorX_ + step * x);
      cursorY_ = OnField(cursorY_ + step * y);
    }
  }
  for (int i = 0; i < 4; ++i)
    if ((keys & ~stickKeys_) & (1u << i)) tapped_[kArrowKeys[i]] = 1;
  stickKeys_ = keys;
}

void Controllers::RepeatLetter() {
  if (repeatButton_ < 0 || !textInput_) return;
  if (repeatButton_ != SDL_CONTROLLER_BUTTON_DPAD_UP && repeatButton_ != SDL_CONTROLLER_BUTTON_DPAD_DOWN)
    return;
  const uint64_t now = SDL_GetTicks64();
  if (now < repeatAtMs_) return;
  EditName(repeatButton_);
  repeatAtMs_ = now + kRepeatMs;
}

// The name box through the events the keyboard gives: typed letters and Backspace.
void Controllers::EditName(int button) {
  auto backspace = [&] {
    Emit(Event::Type::KeyDown, vk::Back);
    Emit(Event::Type::KeyUp, vk::Back);
  };
  auto add = [&](char c) {
    if (box_.size() >= kNameWidth) return;
    Emit(Event::Type::Text, 0, std::string(1, c));
    box_ += c;
  };
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: {
      if (box_.empty()) {
        add(kLetters[0]);
        return;
      }
      const size_t n = kLetters.size(), at = kLetters.find(box_.back());
      const size_t next = at == std::string_view::npos              ? 0
                          : button == SDL_CONTROLLER_BUTTON_DPAD_UP ? (at + 1) % n
                                                                    : (at + n - 1) % n;
      backspace();
      box_.pop_back();
      add(kLetters[next]);
      break;
    }
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      add(kLetters[0]);
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      if (box_.empty()) return;
      backspace();
      box_.pop_back();
      break;
    default:
      break;
  }
}

void Controllers::EmitMouse() {
  int wanted = 0;
  for (const Meaning& m : meaning_)
    if (m.kind == Meaning::Kind::Mouse) wanted |= m.code;
  if (wanted == mouseHeld_) return;
  double fx = cursorX_, fy = cursorY_;
  if (!ownsCursor_) mouseField_(fx, fy);
  for (int button : {1, 2, 4}) {
    if (((wanted ^ mouseHeld_) & button) == 0) continue;
    Event e;
    e.type = (wanted & button) ? Event::Type::MouseDown : Event::Type::MouseUp;
    e.button = button;
    e.x = static_cast<float>(fx);
    e.y = static_cast<float>(fy);
    events_.push_back(std::move(e));
  }
  mouseHeld_ = wanted;
}

void Controllers::Emit(Event::Type type, int keyCode, std::string text) {
  Event e;
  e.type = type;
  e.keyCode = keyCode;
  e.text = std::move(text);
  events_.push_back(std::move(e));
}

}  // namespace vorlan
