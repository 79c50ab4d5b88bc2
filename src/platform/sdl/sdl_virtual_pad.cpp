#include "platform/sdl/sdl_virtual_pad.h"

#include <algorithm>
#include <sstream>

namespace vorlan {

namespace {

constexpr const char* kName = "Vorlan test pad";

// Joystick button i is controller button i, axis j controller axis j.
std::string MappingFor(SDL_JoystickGUID guid) {
  char text[64];
  SDL_JoystickGetGUIDString(guid, text, sizeof text);
  std::string m = std::string(text) + "," + kName + ",";
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
    m += std::string(SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(b))) + ":b" +
         std::to_string(b) + ",";
  for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a)
    m += std::string(SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(a))) + ":a" +
         std::to_string(a) + ",";
  return m;
}

}  // namespace

int VirtualPad::OnRumble(void* self, Uint16 low, Uint16 high) {
  static_cast<VirtualPad*>(self)->rumbles.emplace_back(low, high);
  return 0;
}

int VirtualPad::AttachDevice() {
  SDL_VirtualJoystickDesc d{};
  d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  d.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // no built-in mapping: the one added below makes it a controller
  d.naxes = SDL_CONTROLLER_AXIS_MAX;
  d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  d.vendor_id = 0x1209;
  d.product_id = 0x7600;
  d.name = kName;
  d.userdata = this;
  d.Rumble = &VirtualPad::OnRumble;
  return SDL_JoystickAttachVirtualEx(&d);
}

bool VirtualPad::Attach() {
  if (joy_) return true;
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return false;
  int index = AttachDevice();
  if (index < 0) return false;
  // The mapping names the device's GUID, which SDL gives only once the device is there; a
  // controller is announced when it arrives, so the first arrival without a mapping is undone.
  const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(index);
  if (char* known = SDL_GameControllerMappingForGUID(guid)) {
    SDL_free(known);
  } else {
    SDL_JoystickDetachVirtual(index);
    if (SDL_GameControllerAddMapping(MappingFor(guid).c_str()) < 0) return false;
    index = AttachDevice();
    if (index < 0) return false;
  }
  joy_ = SDL_JoystickOpen(index);
  if (!joy_) return false;
  SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
  SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  return true;
}

void VirtualPad::Detach() {
  if (!joy_) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(joy_);
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
  SDL_JoystickClose(joy_);
  joy_ = nullptr;
}

void VirtualPad::SetButton(SDL_GameControllerButton b, bool down) {
  if (joy_) SDL_JoystickSetVirtualButton(joy_, b, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::SetAxis(SDL_GameControllerAxis a, int value) {
  if (!joy_) return;
  // A trigger's whole travel is the joystick axis's whole range.
  if (a == SDL_CONTROLLER_AXIS_TRIGGERLEFT || a == SDL_CONTROLLER_AXIS_TRIGGERRIGHT)
    value = value * 2 - 32768;
  SDL_JoystickSetVirtualAxis(joy_, a, static_cast<Sint16>(std::clamp(value, -32768, 32767)));
}

PadScript::~PadScript() {
  if (in_) std::fclose(in_);
}

void PadScript::Step() {
  if (!in_) in_ = std::fopen(file_.c_str(), "rb");
  if (in_) {
    // One command a step: the next complete line, if the test has written one.
    char buf[256];
    while (std::fgets(buf, sizeof buf, in_)) {
      partial_ += buf;
      if (partial_.back() != '\n') continue;
      std::string line = std::move(partial_);
      partial_.clear();
      Run(line);
      break;
    }
    // A seek, not only clearerr: the Windows C library keeps its end of file until the stream seeks,
    // and would never see what the test appends.
    std::fseek(in_, 0, SEEK_CUR);
  }
  for (; rumblesLogged_ < pad_.rumbles.size(); ++rumblesLogged_)
    std::fprintf(stderr, "vorlan: test pad rumble %d %d\n", pad_.rumbles[rumblesLogged_].first,
                 pad_.rumbles[rumblesLogged_].second);
}

void PadScript::Run(const std::string& line) {
  std::istringstream in(line);
  std::string word, name;
  int value = 0;
  in >> word >> name >> value;
  if (word == "attach") pad_.Attach();
  if (word == "detach") pad_.Detach();
  if (word == "button") pad_.SetButton(SDL_GameControllerGetButtonFromString(name.c_str()), value != 0);
  if (word == "axis") pad_.SetAxis(SDL_GameControllerGetAxisFromString(name.c_str()), value);
}

}  // namespace vorlan
