#include "terrain/new_game.h"

#include <cctype>
#include <string>

#include "graphics/picture_catalogue.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/display.h"
#include "soldiers/soldier_files.h"
#include "sound/sound_bank.h"
#include "terrain/pixel_effects.h"

namespace vorlan {

namespace {

// The terrain box is larger than the visible map: the effects work on up to 316 x 316 pixels.
constexpr int kTerrainSize = 320;

// Loads a picture into Terain only when it reads; a missing or damaged file keeps the old
// picture and its marks.
bool LoadTerrain(Game& g, std::string_view documented) {
  const auto path = g.PathOf(documented);
  if (path.empty()) return false;
  Surface pic;
  if (!g.plat.LoadPicture(path, pic) || pic.Empty()) return false;
  Surface& t = g.form.Terain;
  t.Resize(kTerrainSize, kTerrainSize, 0);
  BitBlt(t, 0, 0, pic.Width(), pic.Height(), pic, 0, 0, Rop::SrcCopy);
  return true;
}

// One progress step of the generator: the logo, and the step's text in capitals at (2, 286).
void ShowMapStep(Game& g, const std::string& message) {
  g.form.StatusMessage = message;
  Surface& f = g.form.Field;
  BitBlt(f, 0, 0, 300, 300, g.pics.PicMainLogo, 0, 0, Rop::SrcCopy);
  std::string caps = message;
  for (char& c : caps) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  DrawText(g, f, 2, 286, caps + "   ", static_cast<int>(message.size()));
  RefreshField(g);
}

}  // namespace

// Builds the four terrain maps from their photographs the first time the program runs.
void GenerateMaps(Game& g) {
  if (g.options.MapsGenerated == 1) return;
  DoEvents(g);
  RefreshField(g);
  Surface& f = g.form.Field;
  BitBlt(f, 0, 0, 300, 300, g.pics.PicMainLogo, 0, 0, Rop::SrcCopy);
  f.foreColor = 0xC0FFC0;
  f.fontSize = 10;

  bool allMade = true;
  for (int n = 1; n <= 4; ++n) {
    if (g.form.Quit) return;  // the window was closed meanwhile: try again next start
    const std::string digit = std::to_string(n);
    const std::string prefix = "Map " + digit + "/4 - ";
    Surface& t = g.form.Terain;
    if (!LoadTerrain(g, "\\Pictures\\Map0" + digit + ".jpg")) {
      // Without its photograph this map cannot be made; the others still are.
      allMade = false;
      continue;
    }
    BitBlt(f, 0, 0, 300, 300, g.pics.PicMainLogo, 0, 0, Rop::SrcCopy);
    ShowMapStep(g, prefix + "Diffuse 1");
    g.rng.Randomize(g.plat.Timer());
    Diffuse(g.rng, t, 315, 315, t, 2);
    ShowMapStep(g, prefix + "Blur");
    Blur(t, 300, 300, t, 2);
    ShowMapStep(g, prefix + "Diffuse 2");
    g.rng.Randomize(g.plat.Timer());
    Diffuse(g.rng, t, 315, 315, t, 2);
    ShowMapStep(g, prefix + "ScaleUp");
    ScaleUp(t, 300, 300, t, 304, 304);
    DoEvents(g);
    const auto out = g.PathOf("\\Pictures\\Map0" + digit + ".bmp");
    // A map that could not be written is not made either: the flag must not claim it.
    if (out.empty() || !g.plat.SaveBmp(t, out)) allMade = false;
  }
  if (!allMade) return;
  g.options.MapsGenerated = 1;
  OptionsFile(g, true);
}

// Sets up a new game: the player from "DEFAULT", an empty world and a map picked at random.
void NewGame(Game& g) {
  auto& w = g.world;
  StopSound(g, snd::MenuAmbient);
  g.form.Paused = kFalse;
  g.form.InGame = kTrue;
  g.input.MouseLeft = kFalse;
  w.SeparationOff = kFalse;
  w.KillsInRowCount = 0;
  w.KillsInRowTime = 0;

  w.Soldiers[0].Alive = kFalse;
  SpawnFromFile(g, "DEFAULT");
  Soldier& p = w.Soldiers[0];
  p.Facing = 270;
  p.X = 140;
  p.Y = 140;
  p.ProxExp = p.AimExp = p.TimeExp = p.SpareExp = p.MeleeExp = 0;
  p.Date = g.plat.TodayText();
  p.Ammo = 20;
  p.Speed = 10;
  p.Health = 100;
  p.Spread = 30;
  p.Melee = 0;
  p.Power = 3;
  p.Range = 60;
  p.RechargeTime = 15;

  for (int i = 1; i < kSoldierSlots; ++i) w.Soldiers[i].Alive = kFalse;
  w.HealthCrateOn.fill(kFalse);
  w.AmmoCrateOn.fill(kFalse);
  w.AcidOn.fill(kFalse);
  w.AcidTimer.fill(0);
  for (auto& b : w.Bullets) b.BulletRange = 0;
  for (auto& s : w.Sheep) s.SheepAlive = kFalse;
  w.CleanerOn = kFalse;
  w.AirRaidOn = kFalse;
  w.ExplosionOn = kFalse;
  w.GameKills = 0;
  g.timing.GameSeconds = 0;
  g.timing.GameMinutes = 0;
  w.BonusScore = 0;
  w.Score = 0;
  w.SnowCount = 0;
  w.FireMode = 1;

  PlaySound(g, snd::SnowBattle, 500);

  // One game in six goes on over the previous battlefield with all its marks.
  g.rng.Randomize(g.plat.Timer());
  const int k = static_cast<int>(Floor(g.Rnd() * 6)) + 1;
  if (k <= 5) LoadTerrain(g, "\\Pictures\\Map0" + std::to_string(k) + ".bmp");
}

}  // namespace vorlan
