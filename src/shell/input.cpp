#include "shell/input.h"

#include "graphics/screen_capture.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "shell/display.h"
#include "sound/sound_bank.h"
#include "terrain/new_game.h"
#include "world/bullets.h"

namespace vorlan {

namespace {

// The volume keys retune the two ambience loops at once, whichever is playing.
void VolumeChanged(Game& g) {
  PlaySound(g, snd::BulletFire, 500);
  int16_t drop = Sat16((100 - g.options.SoundVolume) * 32);
  SetBufferVolume(g, snd::MenuAmbient, Sat16(-1 - drop));
  SetBufferVolume(g, snd::SnowBattle, Sat16(-100 - drop));
}

void ScrollWorldScores(Game& g, int step) {
  MenuState& m = g.menus;
  int s = m.WsScroll + step;
  m.WsScroll = static_cast<int16_t>(s < 51 ? 51 : (s > 175 ? 175 : s));
  m.WsOffset = (m.WsScroll - 51) * 90.0 / 124;
}

void Resume(Game& g) {
  g.form.Paused = kFalse;
  GameAmbienceOn(g);
  StopSound(g, snd::MenuAmbient);
}

}  // namespace

void InitKeyboard(Game& g) { g.input.KeyboardReady = true; }

void ReleaseKeyboard(Game& g) { g.input.KeyboardReady = false; }

bool ReadKeyState(Game& g) {
  InputState& in = g.input;
  // Keys pressed while another window has the focus are not the player's orders to this game.
  if (!g.plat.HasFocus()) {
    in.KeyState.fill(0);
    return false;
  }
  uint8_t state[256];
  if (g.plat.GetKeyboardState(state)) std::copy(state, state + 256, in.KeyState.begin());
  return true;
}

void PollKeyboard(Game& g) {
  InputState& in = g.input;
  FormState& f = g.form;
  if (!in.KeyboardReady) return;
  const bool focused = ReadKeyState(g);
  // A held Insert takes one picture, not one per poll; the next press takes the next one.
  const bool insertWasHeld = in.InsertHeld;
  in.InsertHeld = in.KeyState[dik::Insert] != 0;
  if (!focused) return;
  // While the name box has the focus every key types the name (Enter is the entry's own).
  if (g.hs.NameEntryActive) return;
  auto down = [&](int code) { return in.KeyState[code] != 0; };

  if (down(dik::Escape)) {
    if (g.menus.CurrentScreen != "" && g.hs.NameEntryActive == 0) {
      PlaySound(g, snd::MenuClick, 500);
      g.menus.CurrentScreen = "";
    }
    if (f.Paused == 0 && f.InGame == kTrue) {
      // The frozen game becomes the menu background.
      f.Paused = kTrue;
      BitBlt(f.MenuField, 0, 0, 300, 300, f.Field, 0, 0, Rop::SrcCopy);
      AlphaBlendCopy(g.pics.PicMainMenu, 15, 15, 270, 270, f.MenuField, 0, 0, 270, 270, 60);
      MenuAmbienceOn(g);
      PlaySound(g, snd::MenuClick, 500);
    }
  }
  if (down(dik::Return) || down(dik::NumpadEnter)) {
    if (g.menus.CurrentScreen == "" && f.Paused && f.InGame) {
      Resume(g);
    }
    if (g.menus.CurrentScreen == "" && !f.Paused && !f.InGame) NewGame(g);
  }
  // The main keyboard's minus and plus ("=" with or without Shift) too: most laptops have no keypad.
  if ((down(dik::Add) || down(dik::Equals)) && g.options.SoundVolume < 100) {
    g.options.SoundVolume += 1;
    VolumeChanged(g);
  }
  if ((down(dik::Subtract) || down(dik::Minus)) && g.options.SoundVolume > 0) {
    g.options.SoundVolume -= 1;
    VolumeChanged(g);
  }
  if (in.InsertHeld && !insertWasHeld) TakeScreenshot(g);
  if (down(dik::X) && (f.InGame == 0 || f.Paused == kTrue)) {
    WindowUnload(g);
    return;
  }
  if (down(dik::Up) && g.menus.CurrentScreen == "WS") ScrollWorldScores(g, -1);
  if (down(dik::Down) && g.menus.CurrentScreen == "WS") ScrollWorldScores(g, 1);
}

void UpdateCursor(Game& g) {
  InputState& in = g.input;
  FormState& f = g.form;
  Soldier& player = g.world.Soldiers[0];
  // A controller's aiming stick places the cursor around the player.
  g.plat.SetPlayerCentre(player.X + 10.0, player.Y + 10.0);
  int x = 0, y = 0;
  g.plat.GetCursorPos(x, y);
  g.plat.GetWindowRect(in.WindowLeft, in.WindowTop, in.WindowRight, in.WindowBottom);
  // Before the first display switch the window's own frame offset is added here.
  if (g.options.OptFullScreen != kOptOn && f.FieldOriginSet != kTrue) {
    in.CursorX = x - in.WindowLeft - f.FieldOriginX - 4;
    in.CursorY = y - in.WindowTop - f.FieldOriginY - 23;
  } else {
    in.CursorX = x - in.WindowLeft - f.FieldOriginX;
    in.CursorY = y - in.WindowTop - f.FieldOriginY;
  }
  AngleAndDistance(g, player.X + 10, player.Y + 10, in.CursorX, in.CursorY);
  player.Facing = g.world.AngleResult;
}

void FieldKeyDown(Game& g, int keyCode, int) {
  NameEntryKeyDown(g, keyCode);  // Backspace in the name box
  // W, S, A or D resumes a paused game.
  if (g.form.Paused && !g.hs.NameEntryActive && (keyCode == vk::W || keyCode == vk::S || keyCode == vk::A || keyCode == vk::D))
    Resume(g);
}

void FieldKeyUp(Game& g, int keyCode, int) {
  // A Q typed into the name is a letter, not an order.
  if ((keyCode == vk::Control || keyCode == vk::Q) && !g.hs.NameEntryActive) g.world.FireModeToggle = kTrue;
}

// Only single-button events change a flag.
void FieldMouseDown(Game& g, int button, int, float, float) {
  if (button == 1) g.input.MouseLeft = kTrue;
  if (button == 2) g.input.MouseRight = kTrue;
  if (button == 4) g.input.MouseMiddle = kTrue;
}

void FieldMouseUp(Game& g, int button, int, float, float) {
  if (button == 1) g.input.MouseLeft = kFalse;
  if (button == 2) g.input.MouseRight = kFalse;
  if (button == 4) g.input.MouseMiddle = kFalse;
}

}  // namespace vorlan
