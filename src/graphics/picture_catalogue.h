// Loading and release of the picture catalogue, and the game-level drawing helpers.
#pragma once

#include "game.h"

namespace vorlan {

// Start-up: the start map, the status bar and every catalogue picture, with progress steps.
void LoadPictures(Game& g);
// Shutdown: empties every picture surface.
void FreePictures(Game& g);
// TextOutA on a picture box with the platform's fonts.
void DrawText(Game& g, Surface& s, int x, int y, std::string_view text, int count);
inline void DrawText(Game& g, Surface& s, int x, int y, std::string_view text) {
  DrawText(g, s, x, y, text, static_cast<int>(text.size()));
}
// A masked sprite: the mask (at mx, my of the picture) with SRCAND, then the image (ix, iy) with SRCPAINT.
void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& pic, int ix, int iy, int mx, int my);

// One row of the catalogue from row 3 on: the file under "\Pictures\" and its surface.
struct PictureRow {
  const char* file;
  Surface Pictures::*member;  // nullptr for the AI sheets, which live in SheetAi
  int aiSheet;                // 0..5 for the AI sheets, -1 otherwise
};
// Rows 3..49 in load order (47 rows).
const PictureRow* PictureCatalogue(int& count);
// The surface a row loads into.
Surface& RowSurface(Pictures& p, const PictureRow& row);

}  // namespace vorlan
