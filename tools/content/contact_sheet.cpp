#include <algorithm>
#include <cstdio>

#include "content.h"

namespace content {

const vorlan::PictureRow& PictureOut::Row(const std::string& name) {
  static const vorlan::PictureRow kNone{};
  const vorlan::PictureRow* row = vorlan::FindPicture(name);
  return row ? *row : kNone;
}

void PictureOut::Save(const std::string& name, const Canvas& c, int quality) {
  const vorlan::PictureRow& row = Row(name);
  if (!row.file) {
    std::fprintf(stderr, "vorlan_content: %s has no row in the picture catalogue\n", name.c_str());
    ++failures;
  } else if (c.W() != row.width || c.H() != row.height) {
    std::fprintf(stderr, "vorlan_content: %s is %d x %d, the catalogue says %d x %d\n", name.c_str(), c.W(),
                 c.H(), row.width, row.height);
    ++failures;
  }
  if (!WriteJpeg(c, folder / name, quality)) {
    std::fprintf(stderr, "vorlan_content: cannot write %s\n", (folder / name).c_str());
    ++failures;
  }
  written.push_back({name, c});
}

void PictureOut::SaveSprite(const std::string& name, const Sprite& s) {
  const vorlan::PictureRow& row = Row(name);
  Canvas out(row.width, row.height, {0, 0, 0});
  out.Put(s.image, 0, 0);
  out.Put(s.mask, row.frames.mx, row.frames.my);
  Save(name, out);
}

void PictureOut::SaveRendered(const std::string& name, const Scene& scene, int ss) {
  const vorlan::PictureRow& row = Row(name);
  SaveSprite(name, MakeSprite(Render(row.frames.w, row.frames.h, scene, ss)));
}

int PictureOut::Unwritten() const {
  int missing = 0;
  for (const vorlan::PictureRow& row : vorlan::PictureCatalogue()) {
    bool done =
        std::any_of(written.begin(), written.end(), [&](const Entry& e) { return e.name == row.file; });
    if (!done) {
      std::fprintf(stderr, "vorlan_content: no recipe draws %s\n", row.file);
      ++missing;
    }
  }
  return missing;
}

Canvas SheetRow(const std::vector<Sprite>& frames, const vorlan::PictureRow& row) {
  const vorlan::FrameLayout& f = row.frames;
  Canvas out(f.dx * static_cast<int>(frames.size()), row.height, {0, 0, 0});
  for (size_t k = 0; k < frames.size(); ++k) {
    out.Put(frames[k].image, f.dx * static_cast<int>(k), 0);
    out.Put(frames[k].mask, f.dx * static_cast<int>(k) + f.mx, f.my);
  }
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
