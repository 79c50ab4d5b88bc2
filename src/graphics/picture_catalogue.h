// Loading and release of the picture catalogue, and the game-level drawing helpers.
#pragma once

#include <span>
#include <string_view>

#include "game.h"

namespace vorlan {

// Start-up: the start map, the status bar and every catalogue picture, with progress steps.
void LoadPictures(Game& g);
// Shutdown: empties every picture surface.
void FreePictures(Game& g);
// Wipes StatusField back to its background picture (black without one).
void ClearStatusField(Game& g);
// TextOutA on a picture box with the platform's fonts.
void DrawText(Game& g, Surface& s, int x, int y, std::string_view text, int count);
inline void DrawText(Game& g, Surface& s, int x, int y, std::string_view text) {
  DrawText(g, s, x, y, text, static_cast<int>(text.size()));
}
// A masked sprite: the mask (at mx, my of the picture) with SRCAND, then the image (ix, iy) with SRCPAINT.
void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& pic, int ix, int iy, int mx, int my);

// How a picture is laid out as every drawing uses it: count frames of w x h, frame k at
// (k dx, k dy); a masked picture has each frame's mask at (mx, my) from the frame.
struct FrameLayout {
  int w, h, count, dx, dy, mx, my;
  bool Masked() const { return mx != 0 || my != 0; }
};

// One generated picture: the file under "\Pictures\", its size, its frames and its surface. The
// generator, the build's output list and the content tests all read these rows.
struct PictureRow {
  const char* file;
  int width, height;
  FrameLayout frames;
  Surface Pictures::*member;  // nullptr for the AI sheets and for pictures loaded apart
  int aiSheet;                // 0..5 for the AI sheets, -1 otherwise
  // The start maps and the status bar are loaded apart; every other row in the catalogue loop.
  bool Looped() const { return member != nullptr || aiSheet >= 0; }
};
// Every generated picture in load order: the four start maps and the status bar, then the 47 rows
// of the loading loop.
std::span<const PictureRow> PictureCatalogue();
// The row of a file name, or nullptr.
const PictureRow* FindPicture(std::string_view file);
// The surface a looped row loads into.
Surface& RowSurface(Pictures& p, const PictureRow& row);

}  // namespace vorlan
