#include "menus/menu_framework.h"

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/display.h"
#include "sound/sound_bank.h"
#include "terrain/new_game.h"
#include "world/particles.h"

namespace vorlan {

void MenuHitTest(Game& g, int x, int y, std::string& text, int h, bool clickable, int hotLeft) {
  MenuState& m = g.menus;
  // Small text on the score screens gets a lower, narrower hot zone.
  if ((m.CurrentScreen == "HS" || m.CurrentScreen == "WS") && h < 8) h -= 2;
  if (text.empty()) text = "0";

  // The width is estimated as h pixels per character rather than measured.
  const long long cx = g.input.CursorX, cy = g.input.CursorY;
  const long long n = static_cast<long long>(text.size());
  const long long left = hotLeft >= 0 && hotLeft < x ? hotLeft - 1 : x;
  const bool over = left < cx && cx < x + n * h && y < cy && cy < y + h + 2;
  if (!over) return;

  if (clickable && m.LastHoverText != text) PlaySoundAt(g, snd::MouseOver, 150);
  m.LastHoverText = text;
  m.MenuTextColor = clickable ? kMenuWhite : kMenuBlue;

  const int16_t itemY = Sat16(y - 2);
  if (!g.input.MouseLeft) {
    m.MenuClickY = 0;
    m.HoverY = itemY;
    return;
  }
  if (clickable) {
    PlaySound(g, snd::MenuClick, 500);
    m.MenuClickY = itemY;
    g.input.MouseLeft = kFalse;  // one press selects one item
    OptionsFile(g, true);
  }
}

bool DrawMenuItem(Game& g, const std::string& text, int x, int y, int fontSize, bool clickable, int hotLeft) {
  std::string shown = text;
  g.menus.MenuTextColor = kMenuNavy;
  MenuHitTest(g, x, y + 2, shown, fontSize - 2, clickable, hotLeft);
  Surface& field = g.form.Field;
  field.foreColor = g.menus.MenuTextColor;
  field.fontSize = fontSize;
  DrawText(g, field, x, y, shown);
  field.foreColor = kMenuNavy;
  return g.menus.MenuClickY == y;
}

void LeaveScreen(Game& g) {
  g.menus.CurrentScreen = "";
  g.menus.MenuClickY = 0;
}

void DrawScreenTitle(Game& g) {
  DrawMasked(g.form.Field, 160, 23, 107, 23, g.pics.PicLogo, 0, 0, 0, 24);
  g.form.Field.foreColor = kMenuPaleGreen;
  g.form.Field.fontSize = 8;
  g.form.Field.fontBold = false;
}

void MainMenuScreen(Game& g) {
  MenuState& m = g.menus;
  g.form.Field.fontBold = true;

  if (g.form.Paused) {
    if (DrawMenuItem(g, "RESUME GAME", 30, 25, 10, true)) {
      m.MenuClickY = 0;
      g.form.Paused = kFalse;
      GameAmbienceOn(g);  // SnowBattle at -100 - (100 - SoundVolume) x 32, looping
      StopSound(g, snd::MenuAmbient);
    }
  }
  if (DrawMenuItem(g, "START NEW GAME", 30, 50, 10, true)) NewGame(g);
  if (DrawMenuItem(g, "HIGH SCORES", 30, 75, 10, true)) m.CurrentScreen = "HS";
  if (DrawMenuItem(g, "OPTIONS & GAME INFO", 30, 100, 10, true)) m.CurrentScreen = "OPTIONS";
  if (DrawMenuItem(g, "HELP ME", 30, 125, 10, true)) m.CurrentScreen = "HELP";
  if (DrawMenuItem(g, "ABOUT", 30, 150, 10, true)) m.CurrentScreen = "ABOUT";
  if (DrawMenuItem(g, "EXIT GAME", 30, 260, 10, true)) {
    m.MenuClickY = 0;
    WindowUnload(g);
    return;
  }
  m.MenuClickY = 0;

  DrawMasked(g.form.Field, 160, 23, 107, 40, g.pics.PicLogoFull, 0, 0, 0, 40);
  g.form.Field.foreColor = kMenuPaleGreen;
  g.form.Field.fontSize = 8;
  g.form.Field.fontBold = false;
}

void MenuDecoration(Game& g) {
  // Each edge position comes from a freshly reseeded generator, so the splashes wander.
  auto edge = [&g] {
    g.rng.Randomize(g.plat.Timer());
    return 15 + 270 * g.Rnd();
  };
  double count = 1;
  Blood(g, g.input.CursorX, g.input.CursorY, count, -1, 4);
  double r = edge();
  count = 4;
  Blood(g, r, 15, count, -2, 6);
  r = edge();
  count = 4;
  Blood(g, r, 285, count, -2, 6);
  r = edge();
  count = 4;
  Blood(g, 15, r, count, -2, 6);
  r = edge();
  count = 4;
  Blood(g, 285, r, count, -2, 6);
}

}  // namespace vorlan
