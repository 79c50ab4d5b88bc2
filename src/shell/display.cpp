#include "shell/display.h"

#include <cstdio>
#include <string>

#include "graphics/picture_catalogue.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/input.h"
#include "shell/notice.h"
#include "sound/sound_bank.h"

namespace vorlan {

void SetDisplayMode(Game& g, bool fullScreen) {
  FormState& f = g.form;
  f.FieldOriginX = 4;
  f.FieldOriginY = 23;
  g.plat.SetCaption(f.SavedCaption);
  if (fullScreen) {
    if (g.plat.SetFullScreen(true)) {
      f.FieldOriginX = 170;
      f.FieldOriginY = 50;
      g.plat.SetCaption("");
      return;
    }
    // Full screen is not available: say so once, remember it and carry on in the window with
    // the window's own field origin, so the cursor still lands where the player points.
    // It is written down at once: the main loop reads the options again, and the next start
    // should not try (and warn) again.
    g.options.OptFullScreen = kOptOff;
    OptionsFile(g, true);
    constexpr const char* kHeadline = "Cannot switch to full screen!";
    constexpr const char* kWhatNow = "The game goes on in a window.";
    const std::string warning = std::string(kHeadline) + " " + kWhatNow;
    std::fprintf(stderr, "vorlan: %s\n", warning.c_str());
    // Without a message box (no window manager) the player still reads it in the window.
    if (g.plat.MessageBox(warning, "Vorlan Error!", kMbIconExclamation) == 0) Notify(g, kHeadline, kWhatNow, "");
  }
  g.plat.SetFullScreen(false);
  f.FieldOriginSet = kTrue;
}

void ClipCursorToField(Game& g, bool on) { g.plat.ClipCursor(on); }

void RefreshField(Game& g) {
  BitBlt(g.form.FieldShown, 0, 0, 300, 300, g.form.Field, 0, 0, Rop::SrcCopy);
  g.plat.Present(g.form.FieldShown, g.form.StatusShown);
}

void RefreshStatusField(Game& g) {
  BitBlt(g.form.StatusShown, 0, 0, 300, 78, g.form.StatusField, 0, 0, Rop::SrcCopy);
  g.plat.Present(g.form.FieldShown, g.form.StatusShown);
}

void ShowProgress(Game& g) {
  FormState& f = g.form;
  f.LoadingStep = Sat16(f.LoadingStep + 1);
  RefreshField(g);
  BitBlt(f.Field, 0, 0, 300, 300, g.pics.PicMainLogo, 0, 0, Rop::SrcCopy);
  f.Field.foreColor = 0xC0FFC0;
  f.Field.fontSize = 10;
  int n = 87;
  if (g.ws.Connected) {
    f.Field.fontBold = false;
    n = 53;
  }
  int x = static_cast<int>(Nearest(300.0 / n * f.LoadingStep - 300));
  BitBlt(f.Field, x, 287, 300, 13, g.pics.PicLoading, 0, 0, Rop::SrcCopy);
  // Offline the two extra blanks wipe the end of a longer previous message.
  int count = static_cast<int>(f.StatusMessage.size()) + (g.ws.Connected ? 0 : 2);
  DrawText(g, f.Field, 2, 273, f.StatusMessage + "   ", count);
  DoEvents(g);
}

void WindowUnload(Game& g) {
  g.form.Quit = true;
  if (g.form.Unloaded) return;
  g.form.Unloaded = true;
  // A window closed while the name is typed keeps the result.
  EndNameEntry(g);
  ClipCursorToField(g, false);
  ReleaseKeyboard(g);
  ReleaseSounds(g);
  FreePictures(g);
}

// Typed text goes into the name box in the game's single-byte code page.
void TypeIntoYourName(Game& g, std::string_view utf8) { NameEntryTyped(g, utf8); }

void DoEvents(Game& g) {
  Event e;
  while (!g.form.Quit && g.plat.PollEvent(e)) {
    switch (e.type) {
      case Event::Type::KeyDown:
        FieldKeyDown(g, e.keyCode, e.shift);
        break;
      case Event::Type::KeyUp:
        FieldKeyUp(g, e.keyCode, e.shift);
        break;
      case Event::Type::MouseDown:
        // Presses over the status panel or the letterbox around the canvas are not on Field.
        if (e.x >= 0 && e.y >= 0 && e.x < 300 && e.y < 300) FieldMouseDown(g, e.button, e.shift, e.x, e.y);
        break;
      case Event::Type::MouseUp:
        FieldMouseUp(g, e.button, e.shift, e.x, e.y);
        break;
      case Event::Type::Text:
        TypeIntoYourName(g, e.text);
        break;
      case Event::Type::Close:
        g.form.Quit = true;
        break;
    }
  }
}

}  // namespace vorlan
