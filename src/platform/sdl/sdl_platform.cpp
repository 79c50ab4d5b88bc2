// The real platform: an SDL2 window showing Field over StatusField on a scaled canvas, the event
// queue and keyboard translated to the codes the game reads, a sleeping clock, the mixer on SDL's
// audio callback, and the shared media and network code.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>
#ifdef _WIN32  // SDL_syswm.h brings windows.h, whose macros would rename the platform's methods
#undef MessageBox
#undef PlaySound
#undef DrawText
#endif
#ifdef VORLAN_HAVE_X11
#include <X11/Xlib.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <thread>

#include "platform/canvas_layout.h"
#include "platform/folders.h"
#include "platform/key_map.h"
#include "platform/media/media.h"
#include "platform/mixer.h"
#include "platform/network.h"
#include "platform/os_files.h"
#include "platform/sdl/sdl_controller.h"
#include "platform/window_settings.h"

namespace vorlan {

// The key tables are written in USB usage numbers; make sure they are SDL's.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_Z == 29 && SDL_SCANCODE_1 == 30 && SDL_SCANCODE_0 == 39);
static_assert(SDL_SCANCODE_RETURN == 40 && SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_SPACE == 44);
static_assert(SDL_SCANCODE_F1 == 58 && SDL_SCANCODE_F12 == 69 && SDL_SCANCODE_INSERT == 73);
static_assert(SDL_SCANCODE_RIGHT == 79 && SDL_SCANCODE_LEFT == 80 && SDL_SCANCODE_DOWN == 81 &&
              SDL_SCANCODE_UP == 82);
static_assert(SDL_SCANCODE_KP_MINUS == 86 && SDL_SCANCODE_KP_PLUS == 87 && SDL_SCANCODE_KP_ENTER == 88);
static_assert(SDL_SCANCODE_KP_1 == 89 && SDL_SCANCODE_KP_0 == 98 && SDL_SCANCODE_NONUSBACKSLASH == 100);
static_assert(SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_RGUI == 231);
static_assert(SDLK_SCANCODE_MASK == (1 << 30) && SDLK_a == 'a' && SDLK_RETURN == 13 && SDLK_DELETE == 127);
static_assert(KMOD_SHIFT == 0x0003 && KMOD_CTRL == 0x00C0 && KMOD_ALT == 0x0300);

namespace {

std::filesystem::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
#ifdef _WIN32
  if (char* base = SDL_GetBasePath()) {  // UTF-8, where argv is in the ANSI code page
    std::filesystem::path folder(std::u8string(reinterpret_cast<const char8_t*>(base)));
    SDL_free(base);
    return folder.parent_path();  // it ends in a separator
  }
#endif
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !exe.empty()) return exe.parent_path();
  if (argv0 && *argv0) {
    auto p = std::filesystem::absolute(argv0, ec);
    if (!ec) return p.parent_path();
  }
  return std::filesystem::current_path(ec);
}

// Only web addresses go to the desktop's opener: a local file or another scheme coming from a
// server answer must not be started.
bool IsWebAddress(std::string_view url) {
  auto starts = [&](std::string_view p) {
    if (url.size() <= p.size()) return false;
    for (size_t i = 0; i < p.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(url[i])) != p[i]) return false;
    return true;
  };
  if (!starts("http://") && !starts("https://")) return false;
  for (unsigned char c : url)
    if (c <= 0x20 || c == 0x7F) return false;
  return true;
}

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const char* argv0)
      : folders_(SetUpGameFolders(ExecutableFolder(argv0), ThisPlayersFolder())) {
    start_ = std::chrono::steady_clock::now();
  }

  ~SdlPlatform() override {
    // The size the player gave the window is the size of the next start.
    if (window_ && !settingsFile_.empty() && (windowW_ != openedW_ || windowH_ != openedH_))
      WriteWindowSize(settingsFile_, windowW_, windowH_);
    controllers_.Stop();
    SDL_DelEventWatch(&SdlPlatform::WatchKeys, this);
    if (audio_) SDL_CloseAudioDevice(audio_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  bool Start() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The canvas is small: scaling it in software and handing the window its pixels costs less
    // CPU and far less memory than bringing up an OpenGL stack (often a software one itself).
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (!StartVideo()) return false;
    SDL_Rect usable{0, 0, 1024, 768};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
    ChooseWindowSize(usable.w, usable.h, windowW_, windowH_);
    auto config = ConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (!config.empty()) settingsFile_ = config / "settings.txt";
    int keptW = 0, keptH = 0;
    // A size kept from a larger display than this one is not reused.
    if (!settingsFile_.empty() && ReadWindowSize(settingsFile_, keptW, keptH) && keptW <= usable.w &&
        keptH <= usable.h) {
      windowW_ = std::max(keptW, kMinClientW);
      windowH_ = std::max(keptH, kMinClientH);
    }
    layout_ = LayoutFor(false);
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowW_, windowH_,
                               SDL_WINDOW_RESIZABLE);
    if (!window_) return Refuse(std::string("cannot open the window: ") + SDL_GetError());
    SDL_SetWindowMinimumSize(window_, kMinClientW, kMinClientH);
    SetIcon();
    SDL_GetWindowSize(window_, &windowW_, &windowH_);
    openedW_ = windowW_;
    openedH_ = windowH_;
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_ || !MakeTexture())
      return Refuse(std::string("cannot draw into the window: ") + SDL_GetError());
    // Typed text is delivered only while a name is being entered.
    SDL_StopTextInput();
    SDL_AddEventWatch(&SdlPlatform::WatchKeys, this);
    StartAudio();
    controllers_.Start();
    return true;
  }

  // Why Start failed, for the player.
  const std::string& StartError() const { return startError_; }

  // --- Clock ---
  uint64_t GetMicros() override {
    auto d = std::chrono::steady_clock::now() - start_;
    return 1000000u + static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
  }
  uint32_t GetTickCount() override { return static_cast<uint32_t>(GetMicros() / 1000); }
  void WaitPastTick(uint32_t tick) override {
    for (;;) {
      uint64_t now = GetMicros();
      int32_t msLeft = static_cast<int32_t>(tick - static_cast<uint32_t>(now / 1000));
      if (msLeft < 0) return;
      // A deadline further away than this is not a frame's wait; don't hang on it.
      if (msLeft > 10000) return;
      uint64_t target = (now / 1000 + static_cast<uint64_t>(msLeft) + 1) * 1000;
      uint64_t left = target - now;
      // Sleep most of the way, then in short naps: sleeps overshoot, but never end early.
      uint64_t nap = left > 3000 ? left - 2000 : std::min<uint64_t>(left, 100);
      std::this_thread::sleep_for(std::chrono::microseconds(nap));
    }
  }
  double Timer() override {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ms / 1000.0;
  }
  std::string TodayText() override {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", (local.tm_year + 1900) % 10000, local.tm_mon + 1,
                  local.tm_mday);
    return buf;
  }

  // --- Window ---
  void SetCaption(std::string_view caption) override {
    SDL_SetWindowTitle(window_, std::string(caption).c_str());
  }

  bool SetFullScreen(bool on) override {
    if (on == fullScreen_) return true;
    if (on) {
      if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
      // Without a window manager SDL reports success but the window keeps its size: only a
      // window that really covers the display counts, otherwise go back and report the failure.
      if (!CoversDisplay()) {
        BackToWindow();
        return false;
      }
    } else {
      BackToWindow();
    }
    fullScreen_ = on;
    layout_ = LayoutFor(on);
    if (!MakeTexture()) return false;
    ApplyClip();
    return true;
  }

  void Present(const Surface& field, const Surface& statusField) override {
    Upload(field, layout_.fieldX, layout_.fieldY, 300, 300);
    Upload(statusField, layout_.statusX, layout_.statusY, 300, 78);
    Draw();
  }

  void GetCursorPos(int& x, int& y) override {
    controllers_.Update();
    double fx, fy;
    if (!controllers_.Cursor(fx, fy)) MouseField(fx, fy);
    x = static_cast<int>(fx) + layout_.originX;
    y = static_cast<int>(fy) + layout_.originY;
  }
  // Where the mouse points, in Field pixels.
  void MouseField(double& fx, double& fy) {
    int wx = 0, wy = 0;
    if (SDL_GetMouseFocus() == window_) {
      SDL_GetMouseState(&wx, &wy);
    } else {
      int gx, gy, left, top;
      SDL_GetGlobalMouseState(&gx, &gy);
      SDL_GetWindowPosition(window_, &left, &top);
      wx = gx - left;
      wy = gy - top;
    }
    WindowToField(wx, wy, CurrentViewport(), layout_, fx, fy);
  }
  void GetWindowRect(int& left, int& top, int& right, int& bottom) override {
    left = 0;
    top = 0;
    right = layout_.outerW;
    bottom = layout_.outerH;
  }
  void ClipCursor(bool on) override {
    controllers_.SetInGame(on);  // the game confines the cursor exactly while it runs
    clipped_ = on;
    ApplyClip();
  }
  bool HasFocus() override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0; }

  int MessageBox(std::string_view text, std::string_view caption, int style) override {
    std::string t(text), c(caption);
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if ((style & 0xF0) == kMbIconExclamation) flags = SDL_MESSAGEBOX_WARNING;
    if ((style & 0x0F) == kMbYesNo) {
      SDL_MessageBoxButtonData buttons[2] = {
          {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kIdYes, "Yes"},
          {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kIdNo, "No"},
      };
      SDL_MessageBoxData data{flags, window_, c.c_str(), t.c_str(), 2, buttons, nullptr};
      int pressed = kIdNo;
      if (SDL_ShowMessageBox(&data, &pressed) != 0) return 0;
      return pressed == kIdYes ? kIdYes : kIdNo;
    }
    return SDL_ShowSimpleMessageBox(flags, c.c_str(), t.c_str(), window_) == 0 ? kIdOk : 0;
  }

  void OpenUrl(std::string_view url) override {
    if (!IsWebAddress(url)) return;
    // SDL hands the address to the desktop's opener and does not wait for the browser.
    SDL_OpenURL(std::string(url).c_str());
  }

  void SetTextInput(bool on) override {
    controllers_.SetTextInput(on);
    if (on && !SDL_IsTextInputActive()) {
      // Keys already down when typing starts (still walking when the game ended) type nothing,
      // nor does their auto-repeat; they type again once pressed anew.
      int n = 0;
      const Uint8* keys = SDL_GetKeyboardState(&n);
      for (int sc = 0; sc < kScancodes; ++sc) heldAtTextStart_[sc] = keys && sc < n && keys[sc];
    }
    if (on)
      SDL_StartTextInput();
    else
      SDL_StopTextInput();
  }

  // --- Events and keyboard ---
  bool PollEvent(Event& e) override {
    controllers_.Update();
    if (controllers_.NextEvent(e)) return true;
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
      switch (ev.type) {
        case SDL_QUIT:
          e = Event();
          e.type = Event::Type::Close;
          return true;
        case SDL_WINDOWEVENT:
          if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
            e = Event();
            e.type = Event::Type::Close;
            return true;
          }
          if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && !fullScreen_ &&
              !(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN)) {
            windowW_ = ev.window.data1;
            windowH_ = ev.window.data2;
          }
          if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            ApplyClip();
            Draw();
          }
          if (ev.window.event == SDL_WINDOWEVENT_LEAVE) ShowSystemCursor(true);
          break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
          // Typed text follows the key-down that made it.
          if (int sc = ev.key.keysym.scancode; sc >= 0 && sc < kScancodes) {
            if (ev.type == SDL_KEYUP) heldAtTextStart_[sc] = 0;
            textFromHeldKey_ = ev.type == SDL_KEYDOWN && heldAtTextStart_[sc];
          }
          int vk = KeyToVk(ev.key.keysym.sym, ev.key.keysym.scancode);
          if (vk == 0) break;
          e = Event();
          e.type = ev.type == SDL_KEYDOWN ? Event::Type::KeyDown : Event::Type::KeyUp;
          e.keyCode = vk;
          e.shift = ModifiersToShift(ev.key.keysym.mod);
          if (e.type == Event::Type::KeyDown && vk == vk::Back) controllers_.TypedBackspace();
          return true;
        }
        case SDL_MOUSEMOTION:
          UpdateCursorVisibility(ev.motion.x, ev.motion.y);
          if (ev.motion.which != SDL_TOUCH_MOUSEID) controllers_.MouseUsed();
          break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
          int button = ev.button.button == SDL_BUTTON_LEFT     ? 1
                       : ev.button.button == SDL_BUTTON_RIGHT  ? 2
                       : ev.button.button == SDL_BUTTON_MIDDLE ? 4
                                                               : 0;
          if (button == 0) break;
          controllers_.MouseUsed();
          e = Event();
          e.type = ev.type == SDL_MOUSEBUTTONDOWN ? Event::Type::MouseDown : Event::Type::MouseUp;
          e.button = button;
          e.shift = ModifiersToShift(static_cast<uint16_t>(SDL_GetModState()));
          double fx, fy;
          WindowToField(ev.button.x, ev.button.y, CurrentViewport(), layout_, fx, fy);
          e.x = static_cast<float>(fx);
          e.y = static_cast<float>(fy);
          return true;
        }
        case SDL_TEXTINPUT:
          if (textFromHeldKey_) break;
          e = Event();
          e.type = Event::Type::Text;
          e.text = ev.text.text;
          controllers_.Typed(e.text);
          return true;
        default:
          if (controllers_.Handle(ev) && controllers_.NextEvent(e)) return true;
          break;
      }
    }
    return controllers_.NextEvent(e);
  }

  bool GetKeyboardState(uint8_t state[256]) override {
    std::memset(state, 0, 256);
    SDL_PumpEvents();
    // Keys typed into other applications are none of the game's business.
    if (!HasFocus()) return true;
    controllers_.Update();
    controllers_.AddKeys(state);
    int n = 0;
    const Uint8* keys = SDL_GetKeyboardState(&n);
    if (!keys) return false;
    for (int sc = 0; sc < n && sc < kScancodes; ++sc) {
      if (!keys[sc] && !tapped_[sc]) continue;
      int dik = ScancodeToDik(sc);
      if (dik > 0 && dik < 256) state[dik] = 0x80;
    }
    std::memset(tapped_, 0, sizeof tapped_);
    return true;
  }

  // --- What a controller hears of play ---
  void SetPlayerCentre(double x, double y) override { controllers_.SetPlayerCentre(x, y); }
  void Rumble(Jolt jolt) override { controllers_.Rumble(jolt); }

  // --- Audio ---
  bool CreateSoundBuffer(int index, PcmData data) override {
    AudioLock lock(audio_);
    return mixer_.Create(index, std::move(data));
  }
  void ReleaseSoundBuffer(int index) override {
    AudioLock lock(audio_);
    mixer_.Release(index);
  }
  bool SetSoundVolume(int index, int volume) override {
    AudioLock lock(audio_);
    return mixer_.SetVolume(index, volume);
  }
  bool SetSoundPan(int index, int pan) override {
    AudioLock lock(audio_);
    return mixer_.SetPan(index, pan);
  }
  bool SetSoundPosition(int index, uint32_t bytes) override {
    AudioLock lock(audio_);
    return mixer_.SetPosition(index, bytes);
  }
  bool PlaySoundBuffer(int index, bool loop) override {
    AudioLock lock(audio_);
    return mixer_.Play(index, loop);
  }
  bool StopSoundBuffer(int index) override {
    AudioLock lock(audio_);
    return mixer_.Stop(index);
  }
  bool SoundPlaying(int index) override {
    AudioLock lock(audio_);
    return mixer_.Playing(index);
  }

  // --- Pictures, fonts, memory ---
  bool LoadPicture(const std::filesystem::path& file, Surface& into) override {
    return LoadPictureFile(file, into);
  }
  bool PictureSize(const std::filesystem::path& file, int& w, int& h) override {
    return PictureFileSize(file, w, h);
  }
  bool SaveBmp(const Surface& s, const std::filesystem::path& file) override { return SaveBmpFile(s, file); }
  bool SaveJpeg(const Surface& s, const std::filesystem::path& file, int quality) override {
    return SaveJpegFile(s, file, quality);
  }
  const TextRenderer& Fonts() override {
    if (!fonts_) fonts_ = MakeTextRenderer();
    return *fonts_;
  }
  void MemoryStatus(uint64_t& total, uint64_t& avail) override {
    total = avail = 0;
    std::ifstream in("/proc/meminfo");
    std::string key;
    uint64_t value;
    std::string unit;
    while (in >> key >> value) {
      std::getline(in, unit);
      if (key == "MemTotal:")
        total = value * 1024;
      else if (key == "MemAvailable:")
        avail = value * 1024;
    }
    if (avail > total) avail = total;
  }

  // --- Folders, environment, network ---
  std::filesystem::path ProgramFolder() override { return folders_.program; }
  std::filesystem::path DataFolder() override { return folders_.data; }
  std::filesystem::path ContentFolder() override { return folders_.content; }
  std::string GetEnv(std::string_view name) override {
    const char* v = std::getenv(std::string(name).c_str());
    return v ? v : "";
  }
  Network& Net() override {
    if (!net_) net_ = MakeCurlNetwork();
    return *net_;
  }

 private:
  // Holds SDL's audio lock while a buffer changes, so the callback never sees half a change.
  struct AudioLock {
    explicit AudioLock(SDL_AudioDeviceID d) : dev(d) {
      if (dev) SDL_LockAudioDevice(dev);
    }
    ~AudioLock() {
      if (dev) SDL_UnlockAudioDevice(dev);
    }
    SDL_AudioDeviceID dev;
  };

  // The game's icon on the window, the same picture the desktop entry names.
  void SetIcon() {
    const auto& folder = folders_.content.empty() ? folders_.program : folders_.content;
    SDL_Surface* icon =
        IMG_Load(os::Utf8Path(folder / "Icons" / "hicolor" / "64x64" / "apps" / "vorlan.png").c_str());
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }

  // Sees every event as it is queued: a key pressed and released between two keyboard reads
  // still counts as down once, so short taps are not lost to the polling.
  static int WatchKeys(void* self, SDL_Event* ev) {
    if (ev->type == SDL_KEYDOWN) {
      int sc = ev->key.keysym.scancode;
      if (sc >= 0 && sc < kScancodes) static_cast<SdlPlatform*>(self)->tapped_[sc] = 1;
    } else if (ev->type == SDL_WINDOWEVENT && ev->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
      std::memset(static_cast<SdlPlatform*>(self)->tapped_, 0, kScancodes);
    }
    return 1;
  }

  bool Refuse(std::string why) {
    startError_ = std::move(why);
    return false;
  }

  // Brings up a video driver that shows windows. SDL would otherwise fall back to one that draws
  // off screen, and the game would run unseen for ever; a busy display server gets a few tries.
  bool StartVideo() {
    constexpr int kTries = 6;
    constexpr const char* kShowing[] = {"x11", "wayland", "kmsdrm", "windows"};
    std::string why;
    for (int attempt = 1;; ++attempt) {
      if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
        const char* driver = SDL_GetCurrentVideoDriver();
        for (const char* ok : kShowing)
          if (driver && std::strcmp(driver, ok) == 0) return true;
        why = std::string("only the video driver \"") + (driver ? driver : "") +
              "\" is available, which shows no window";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
      } else {
        why = SDL_GetError();
      }
      if (attempt == kTries) break;
      SDL_Delay(400);
    }
    const char* display = std::getenv("DISPLAY");
    return Refuse("no display to show the window on (DISPLAY=" + std::string(display ? display : "") +
                  "): " + why);
  }

  static void AudioCallback(void* self, Uint8* stream, int len) {
    auto* p = static_cast<SdlPlatform*>(self);
    p->mixer_.Mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(len) / 4, p->audioRate_);
  }

  void StartAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no sound device: play silently
    SDL_AudioSpec want{}, have{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 23 ms at 22050 Hz: shots are heard with the flash
    want.callback = &SdlPlatform::AudioCallback;
    want.userdata = this;
    audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (!audio_) return;
    audioRate_ = have.freq;
    SDL_PauseAudioDevice(audio_, 0);
  }

  bool MakeTexture() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                 layout_.canvasW, layout_.canvasH);
    if (!texture_) return false;
    // The letterbox around Field in full screen stays black.
    void* pixels;
    int pitch;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
      for (int y = 0; y < layout_.canvasH; ++y)
        std::memset(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * pitch, 0,
                    static_cast<size_t>(layout_.canvasW) * 4);
      SDL_UnlockTexture(texture_);
    }
    return true;
  }

  void Upload(const Surface& s, int x, int y, int w, int h) {
    if (s.Empty() || !texture_) return;
    w = std::min(w, s.Width());
    h = std::min(h, s.Height());
    SDL_Rect r{x, y, w, h};
    SDL_UpdateTexture(texture_, &r, s.Pixels().data(), s.Width() * 4);
  }

  // Leaves full screen for the window at the size the player last gave it. Size events still
  // queued from before describe the other mode and are dropped.
  void BackToWindow() {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, windowW_, windowH_);
    SDL_PumpEvents();
    SDL_FilterEvents(
        [](void*, SDL_Event* ev) {
          return ev->type == SDL_WINDOWEVENT && (ev->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                                 ev->window.event == SDL_WINDOWEVENT_RESIZED)
                     ? 0
                     : 1;
        },
        nullptr);
  }

  // Waits briefly for the window manager to resize the window onto the whole display.
  bool CoversDisplay() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &bounds) != 0) return false;
    for (int tries = 0; tries < 50; ++tries) {
      SDL_PumpEvents();
      int w = 0, h = 0;
      RealWindowSize(w, h);
      if (w >= bounds.w && h >= bounds.h) return true;
      SDL_Delay(10);
    }
    return false;
  }

  // The size the display server really gave the window; SDL's own figure already claims the
  // full-screen size before (or without) any window manager granting it.
  void RealWindowSize(int& w, int& h) {
    SDL_GetWindowSize(window_, &w, &h);
#ifdef VORLAN_HAVE_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      XWindowAttributes a;
      if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &a)) {
        w = a.width;
        h = a.height;
      }
    }
#endif
  }

  // In a window the canvas is shown at twice its size or more in whole steps, or fitted smoothly;
  // full screen takes any whole factor.
  Viewport Fit(int w, int h) {
    return FitCanvas(w, h, layout_.canvasW, layout_.canvasH, fullScreen_ ? 1 : 2);
  }

  Viewport CurrentViewport() {
    int w = 0, h = 0;
    if (renderer_) SDL_GetRendererOutputSize(renderer_, &w, &h);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    Viewport v = Fit(w > 0 ? w : ww, h > 0 ? h : wh);
    // Mouse positions are in window coordinates; rescale when the drawable is larger (high DPI).
    if (w > 0 && ww > 0 && w != ww) {
      double k = static_cast<double>(ww) / w;
      v.scale *= k;
      v.offX = static_cast<int>(v.offX * k);
      v.offY = static_cast<int>(v.offY * k);
    }
    return v;
  }

  void Draw() {
    if (!renderer_ || !texture_) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    Viewport v = Fit(w, h);
    SDL_SetTextureScaleMode(texture_, v.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_Rect dst{v.offX, v.offY, v.w, v.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
  }

  void ApplyClip() {
    if (!window_) return;
    if (!clipped_) {
      SDL_SetWindowMouseRect(window_, nullptr);
      return;
    }
    SDL_Rect r;
    FieldRectInWindow(CurrentViewport(), layout_, r.x, r.y, r.w, r.h);
    SDL_SetWindowMouseRect(window_, &r);
  }

  void UpdateCursorVisibility(int wx, int wy) {
    int x, y, w, h;
    FieldRectInWindow(CurrentViewport(), layout_, x, y, w, h);
    bool overField = wx >= x && wy >= y && wx < x + w && wy < y + h;
    ShowSystemCursor(!overField);
  }

  void ShowSystemCursor(bool show) {
    if (show == cursorShown_) return;
    cursorShown_ = show;
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  }

  static constexpr int kScancodes = 512;
  uint8_t tapped_[kScancodes] = {};
  uint8_t heldAtTextStart_[kScancodes] = {};
  bool textFromHeldKey_ = false;
  // The smallest client area: the canvas at scale 1; below it nothing can be read or clicked.
  static constexpr int kMinClientW = 300, kMinClientH = 378;
  std::chrono::steady_clock::time_point start_;
  GameFolders folders_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  CanvasLayout layout_ = LayoutFor(false);
  int windowW_ = 300, windowH_ = 378;  // client size in windowed mode, as the player left it
  int openedW_ = 0, openedH_ = 0;
  std::filesystem::path settingsFile_;
  bool fullScreen_ = false, clipped_ = false, cursorShown_ = true;
  SDL_AudioDeviceID audio_ = 0;
  int audioRate_ = 22050;
  Mixer mixer_;
  std::unique_ptr<TextRenderer> fonts_;
  std::unique_ptr<Network> net_;
  Controllers controllers_{[this](double& fx, double& fy) { MouseField(fx, fy); }};
  std::string startError_;
};

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform(const char* argv0) {
  auto p = std::make_unique<SdlPlatform>(argv0);
  if (!p->Start()) {
    std::fprintf(stderr, "vorlan: %s\n", p->StartError().c_str());
    return nullptr;
  }
  return p;
}

}  // namespace vorlan
