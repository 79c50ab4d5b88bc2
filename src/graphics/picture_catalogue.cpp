#include "graphics/picture_catalogue.h"

namespace vorlan {

void LoadPictures(Game& g) {}
void FreePictures(Game& g) {}
void DrawText(Game& g, Surface& s, int x, int y, std::string_view text, int count) { TextOutA(s, g.plat.Fonts(), x, y, text, count); }
void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& pic, int ix, int iy, int mx, int my) {}

}  // namespace vorlan
