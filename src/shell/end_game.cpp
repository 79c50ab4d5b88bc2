#include "shell/end_game.h"

#include <algorithm>

#include "menus/name_entry.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/status_panel.h"
#include "sound/sound_bank.h"

namespace vorlan {

void EndGame(Game& g) {
  auto& w = g.world;
  w.Soldiers[0].Health = 0;
  StatusPanel(g);
  g.form.Paused = kFalse;
  g.form.InGame = kFalse;
  // The last frame, dimmed under the menu, becomes the menu background.
  Surface& menu = g.form.MenuField;
  const Surface& field = g.form.Field;
  if (menu.Width() < field.Width() || menu.Height() < field.Height()) {
    menu.ResizeKeep(std::max(menu.Width(), field.Width()), std::max(menu.Height(), field.Height()));
  }
  BitBlt(menu, 0, 0, field.Width(), field.Height(), field, 0, 0, Rop::SrcCopy);
  AlphaBlendCopy(g.pics.PicMainMenu, 15, 15, 270, 270, menu, 0, 0, 270, 270, 60);
  HighScoreCheck(g, Sat16(static_cast<long long>(w.Score) + w.BonusScore));
  MenuAmbienceOn(g);
  auto& o = g.options;
  o.TimesPlayed = Sat32(static_cast<double>(o.TimesPlayed) + 1);
  o.PlayMinutes =
      Sat32(static_cast<double>(o.PlayMinutes) + g.timing.GameMinutes + (g.timing.GameSeconds > 29 ? 1 : 0));
  OptionsFile(g, true);
}

}  // namespace vorlan
