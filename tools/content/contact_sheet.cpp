#include <algorithm>
#include <cstdio>

#include "content.h"

namespace content {

void PictureOut::Save(const std::string& name, const Canvas& c, int quality) {
  if (!WriteJpeg(c, folder / name, quality)) {
    std::fprintf(stderr, "vorlan_content: cannot write %s\n", (folder / name).c_str());
    ++failures;
  }
  written.push_back({name, c});
}

Canvas Compose(const Canvas& image, const Canvas& mask, int w, int h, int mx, int my) {
  Canvas out(w, h, {0, 0, 0});
  out.Put(image, 0, 0);
  out.Put(mask, mx, my);
  return out;
}

// Every picture enlarged on one sheet with its file name, for looking the content over.
bool WriteContactSheet(const PictureOut& out, const std::filesystem::path& file) {
  const int kWidth = 1760, kPad = 10, kLabel = 16;
  struct Tile {
    const PictureOut::Entry* e;
    int scale, x, y, w, h;
  };
  std::vector<Tile> tiles;
  int x = kPad, y = kPad, rowH = 0;
  for (const auto& e : out.written) {
    int big = std::max(e.picture.W(), e.picture.H());
    int scale = big <= 40 ? 4 : big <= 140 ? 3 : big <= 400 ? 2 : 1;
    while (scale > 1 && e.picture.W() * scale > kWidth - 2 * kPad) --scale;
    int w = e.picture.W() * scale, h = e.picture.H() * scale + kLabel;
    int tw = std::max(w, TextWidth(e.name, Face::Sans, 9));
    if (x + tw > kWidth - kPad) {
      x = kPad;
      y += rowH + kPad;
      rowH = 0;
    }
    tiles.push_back({&e, scale, x, y, w, h});
    x += tw + kPad;
    rowH = std::max(rowH, h);
  }
  int height = y + rowH + kPad;
  Canvas sheet(kWidth, height, RgbOf(58, 62, 66));
  for (const Tile& t : tiles) {
    DrawText(sheet, t.e->name, Face::Sans, 9, t.x, t.y, RgbOf(235, 235, 220));
    const Canvas& p = t.e->picture;
    for (int j = 0; j < p.H() * t.scale; ++j)
      for (int i = 0; i < p.W() * t.scale; ++i)
        sheet.At(t.x + i, t.y + kLabel + j) = p.At(i / t.scale, j / t.scale);
  }
  return WritePng(sheet, file);
}

}  // namespace content
