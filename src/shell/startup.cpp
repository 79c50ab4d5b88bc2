#include "shell/startup.h"

#include <cmath>

#include "graphics/picture_catalogue.h"
#include "menus/info_screens.h"
#include "menus/menu_framework.h"
#include "menus/name_entry.h"
#include "menus/score_screens.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/display.h"
#include "shell/frame_cycle.h"
#include "shell/input.h"
#include "shell/notice.h"
#include "sound/sound_bank.h"
#include "terrain/new_game.h"

namespace vorlan {

namespace {

constexpr const char* kCaption = "Vorlan: Iron Meadow";

// The picture boxes as the window lays them out.
void PrepareForm(Game& g) {
  FormState& f = g.form;
  f.Field.Resize(300, 300, 0);
  f.FieldShown.Resize(300, 300, 0);
  f.Field.fontFace = FontFace::Sans;
  f.StatusField.Resize(300, 78, 0);
  f.StatusShown.Resize(300, 78, 0);
  f.StatusField.fontFace = FontFace::Mono;
  f.Terain.Resize(320, 320, 0);
  f.MenuField.Resize(300, 300, 0);
  f.LoadPicDC.Resize(300, 378, 0);
}

// The debug line: free memory as a percentage and in megabytes, from the status read at loading.
void DrawDebugLine(Game& g) {
  double total = static_cast<double>(g.pics.MemTotal), avail = static_cast<double>(g.pics.MemAvail);
  long long num = Sat32(Nearest(avail / 1024));
  long long den = Sat32(Nearest(total / 1024 / 100));
  if (den == 0) return;  // no memory status: nothing sensible to show
  long long mb = static_cast<long long>(avail) / 1024000;
  std::string text = "Ram:" + IntText(num / den) + "%(" + IntText(mb) + " Mb)" + std::string(29, ' ');
  DrawText(g, g.form.Field, 130, 2, text.substr(0, 40));
}

// Saves that a kill cut short leave their temporary files in the folders the game writes to.
void RemoveCutShortSaves(Game& g) {
  for (const char* folder : {"c:\\Windows", "\\", "\\OtherFiles", "\\Upload", "\\Pictures"})
    if (auto path = g.PathOf(folder); !path.empty()) RemoveStaleTempFiles(path);
}

}  // namespace

void WindowLoad(Game& g) {
  RemoveCutShortSaves(g);
  g.form.SavedCaption = kCaption;
  g.plat.SetCaption(g.form.SavedCaption);
  g.form.YourNameLeft = -45;
  PrepareForm(g);
  OptionsFile(g, false);
  if (g.options.OptFullScreen == kOptOn) SetDisplayMode(g, true);
  g.form.StatusMessage = "Loading graphics..";
  LoadPictures(g);
  // The table is always empty in a fresh program: this loads it.
  HighScoreCheck(g, 0);
  g.form.StatusMessage = "Loading sounds..";
  LoadSounds(g);
  g.form.StatusMessage = "Loading DirectInput..";
  InitKeyboard(g);
  ClipCursorToField(g, false);
  ShowProgress(g);
  g.form.DegToRad = 4 * std::atan(1.0) / 180;
  MainLoop(g);
}

void MainLoop(Game& g) {
  if (!g.form.Quit) {
    g.form.Paused = kFalse;
    g.form.InGame = kFalse;
    OptionsFile(g, false);
    GenerateMaps(g);
    BitBlt(g.form.MenuField, 0, 0, g.form.Terain.Width(), g.form.Terain.Height(), g.form.Terain, 0, 0,
           Rop::SrcCopy);
    AlphaBlendCopy(g.pics.PicMainMenu, 15, 15, 270, 270, g.form.MenuField, 0, 0, 270, 270, 55);
    PlaySound(g, snd::MenuAmbient, 500);
  }
  while (!g.form.Quit) {
    MainLoopPass(g);
    if (g.form.StopAfterPasses > 0 && g.form.PassesRun >= g.form.StopAfterPasses) return;
  }
  WindowUnload(g);
}

void MainLoopPass(Game& g) {
  FormState& f = g.form;
  InputState& in = g.input;
  ++f.PassesRun;
  ClipCursorToField(g, false);
  UpdateCursor(g);
  PollKeyboard(g);
  if (f.Quit) return;
  RefreshField(g);

  if (g.menus.CurrentScreen != "WS" && g.options.OptAlphaBlend == kOptOn)
    AlphaBlendCopy(f.MenuField, 0, 0, 300, 300, f.Field, 0, 0, 300, 300,
                   static_cast<int>(Floor(g.Rnd() * 65)));
  else
    BitBlt(f.Field, 0, 0, 300, 300, f.MenuField, 0, 0, Rop::SrcCopy);
  DrawMasked(f.Field, in.CursorX - 9, in.CursorY - 9, 18, 18, g.pics.PicCursorMenu, 0, 0, 18, 0);

  // Each test sees the screen the previous one may have just chosen.
  if (g.menus.CurrentScreen == "") MainMenuScreen(g);
  if (f.Quit) return;
  if (g.menus.CurrentScreen == "HS") HighScoreScreen(g);
  if (f.Quit) return;
  if (g.menus.CurrentScreen == "WS") WorldScoreScreen(g);
  if (f.Quit) return;
  if (g.menus.CurrentScreen == "OPTIONS") OptionsScreen(g);
  if (f.Quit) return;
  if (g.menus.CurrentScreen == "HELP") HelpScreen(g);
  if (f.Quit) return;
  if (g.menus.CurrentScreen == "ABOUT") AboutScreen(g);
  if (f.Quit) return;

  if (f.InGame) {
    if (!f.Paused) ClipCursorToField(g, true);
    for (int16_t t : g.world.AcidTimer)
      if (t > 0) PlaySound(g, snd::Heart, 500);
    if (g.world.AirRaidOn == kTrue) PlaySound(g, snd::AirPlane, 500);
    if (g.world.CleanerOn == kTrue) PlaySound(g, snd::Buger, 500);
    while (!f.Paused && f.InGame && !f.Quit) GameFrame(g);
    if (f.Quit) return;
    in.MouseLeft = kFalse;
    StopSound(g, snd::SnowBattle);
    StopSound(g, snd::Heart);
    StopSound(g, snd::AirPlane);
    StopSound(g, snd::Buger);
  }

  MenuDecoration(g);
  if (g.options.OptDebugInfo == kOptOn) DrawDebugLine(g);
  DrawNotice(g);
  GameTick(g);
  DoEvents(g);
}

}  // namespace vorlan
