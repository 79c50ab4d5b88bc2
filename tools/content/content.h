// The content generator's parts: pictures, sounds and data files written into the program folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"
#include "graphics/picture_catalogue.h"

namespace content {

// Writes the pictures of the game's catalogue and keeps them for the contact sheet. Every picture
// must have a catalogue row of its size, and every row a picture: either miss fails the build.
struct PictureOut {
  std::filesystem::path folder;  // the Pictures folder
  struct Entry {
    std::string name;
    Canvas picture;
  };
  std::vector<Entry> written;
  int failures = 0;
  // The catalogue row of a file; an empty row (saving it fails) when there is none.
  const vorlan::PictureRow& Row(const std::string& name);
  // Writes one picture as JPEG (quality 100 keeps masks clean) and keeps it for the sheet.
  void Save(const std::string& name, const Canvas& c, int quality = 100);
  // Saves one sprite with its mask placed where the row's layout puts it.
  void SaveSprite(const std::string& name, const Sprite& s);
  // Renders a one-frame sprite at the row's frame size and saves it.
  void SaveRendered(const std::string& name, const Scene& scene, int ss);
  // Counts (and reports) the catalogue rows nothing was written for.
  int Unwritten() const;
};

// Lays out frames side by side as the row's layout puts them, each with its mask.
Canvas SheetRow(const std::vector<Sprite>& frames, const vorlan::PictureRow& row);

void WriteSprites(PictureOut& out);  // soldiers, sheep, bodies, vehicles, explosion, icons
void WriteScreens(PictureOut& out);  // title, menus, panels, status strips, help pictures
void WriteTerrain(PictureOut& out);  // the four ground photographs and the cleaned strip
bool WriteContactSheet(const PictureOut& out, const std::filesystem::path& file);

// Ground textures (0 meadow, 1 mud, 2 snow, 3 dry dirt, 4 cleaned) shared by the title screens.
Canvas Ground(int kind, int w, int h);
// The bomb icon at a size, with coverage (for the help picture).
Canvas BombPicture(int size);

// Writes every WAV of the sound bank; returns how many failed.
int WriteSounds(const std::filesystem::path& folder);

// The entry of dir named name without regard to case (the game finds its files that way), so a
// second folder or file differing only in case never appears beside the player's own; dir / name
// when there is none.
std::filesystem::path Existing(const std::filesystem::path& dir, const std::string& name);

// Writes the icon at the desktop's sizes into Icons/hicolor/<n>x<n>/apps/vorlan.png and adds each
// to written. Returns failures.
int WriteIcons(const std::filesystem::path& programDir, std::vector<std::string>* written = nullptr);

// Writes the data files; Options.txt and the upload list are never replaced. Returns failures;
// the files every run writes are added to written ("OtherFiles/DEFAULT.txt", ...).
int WriteDataFiles(const std::filesystem::path& programDir, std::vector<std::string>* written = nullptr);

}  // namespace content
