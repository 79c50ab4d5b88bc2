// The content generator's parts: pictures, sounds and data files written into the program folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"

namespace content {

// Collects the pictures written so the contact sheet can show them all.
struct PictureOut {
  std::filesystem::path folder;  // the Pictures folder
  struct Entry {
    std::string name;
    Canvas picture;
  };
  std::vector<Entry> written;
  int failures = 0;
  // Writes one picture as JPEG (quality 100 keeps masks clean) and keeps it for the sheet.
  void Save(const std::string& name, const Canvas& c, int quality = 100);
};

// Places an image and its mask into one picture: the mask at (mx, my).
Canvas Compose(const Canvas& image, const Canvas& mask, int w, int h, int mx, int my);

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

// Writes the icon at the desktop's sizes into Icons/hicolor/<n>x<n>/apps/vorlan.png.
int WriteIcons(const std::filesystem::path& programDir);

// Writes the data files; Options.txt and the upload list are never replaced. Returns failures.
int WriteDataFiles(const std::filesystem::path& programDir);

}  // namespace content
