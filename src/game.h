// The whole state of one running program: every module's variables, the platform it runs on,
// its random source and its folders. Procedures take Game& first.
#pragma once

#include "graphics/pictures.h"
#include "menus/menu_state.h"
#include "persistence/highscore_state.h"
#include "persistence/options_state.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "shell/shell_state.h"
#include "sound/sound_state.h"
#include "world/world_state.h"
#include "worldscores/worldscore_state.h"

namespace vorlan {

struct Game {
  explicit Game(Platform& p) : plat(p) {
    folders.program = p.ProgramFolder();
    folders.data = p.DataFolder();
    folders.content = p.ContentFolder();
  }
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& plat;
  GameFolders folders;
  Random rng;

  FormState form;         // Form1
  InputState input;       // DirectInputMod
  TimingState timing;     // frame cycle and game clock
  WorldState world;       // Engine + AImod
  SoundState sound;       // DirectSoundMod
  Pictures pics;          // WorkWithMemory + Tavex
  MenuState menus;        // Menus
  OptionsState options;   // TextFile (options and statistics)
  HighScoreState hs;      // TopScoreList
  WorldScoreState ws;     // TopWorldScore + FTPmod

  // rnd: a fresh uniform number in [0, 1).
  double Rnd() { return rng.Rnd(); }
  // A documented path ("\OtherFiles\Options.txt", "c:\Windows\AtopVo118.vor") on this machine.
  // Paths that would leave the game's folders resolve to an empty path.
  std::filesystem::path PathOf(std::string_view documented) const {
    auto p = ResolveGamePath(folders, documented);
    return p ? *p : std::filesystem::path();
  }
};

}  // namespace vorlan
