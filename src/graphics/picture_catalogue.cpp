#include "graphics/picture_catalogue.h"

#include <iterator>
#include <string>

#include "numbers.h"
#include "shell/display.h"

namespace vorlan {

namespace {

// One unmasked frame of w x h.
constexpr FrameLayout Whole(int w, int h) { return {w, h, 1, 0, 0, 0, 0}; }
constexpr FrameLayout kSoldierSheet{21, 21, 72, 21, 0, 0, 21};  // one frame per 5 degrees of facing
constexpr FrameLayout kStatusStrip{300, 10, 2, 0, 10, 0, 0};    // full bar above, empty bar below
constexpr int kApart = -1;

// File, file size, frames as drawn, surface.
constexpr PictureRow kRows[] = {
    {"Map01.jpg", 320, 320, Whole(320, 320), nullptr, kApart},
    {"Map02.jpg", 320, 320, Whole(320, 320), nullptr, kApart},
    {"Map03.jpg", 320, 320, Whole(320, 320), nullptr, kApart},
    {"Map04.jpg", 320, 320, Whole(320, 320), nullptr, kApart},
    {"StatusBar.jpg", 300, 78, Whole(300, 78), nullptr, kApart},
    {"MainLogo.jpg", 300, 300, Whole(300, 300), &Pictures::PicMainLogo, -1},
    {"Loading.jpg", 300, 13, Whole(300, 13), &Pictures::PicLoading, -1},
    {"Logo.jpg", 107, 47, {107, 23, 1, 0, 0, 0, 24}, &Pictures::PicLogo, -1},
    {"SliderMenu.jpg", 20, 140, {10, 140, 1, 0, 0, 10, 0}, &Pictures::PicSliderMenu, -1},
    {"SliderDrag.jpg", 8, 14, Whole(8, 14), &Pictures::PicSliderDrag, -1},
    {"Layer.jpg", 300, 13, Whole(300, 13), &Pictures::PicLayer, -1},
    {"LayerScore.jpg", 85, 30, {85, 15, 1, 0, 0, 0, 15}, &Pictures::PicLayerScore, -1},
    {"Check.jpg", 16, 8, {8, 8, 2, 8, 0, 0, 0}, &Pictures::PicCheck, -1},
    {"ScoreUpDown.jpg", 9, 27, {9, 9, 3, 0, 9, 0, 0}, &Pictures::PicScoreUpDown, -1},
    {"Help1.jpg", 23, 32, Whole(23, 32), &Pictures::PicHelp1, -1},
    {"Help2.jpg", 62, 20, Whole(62, 20), &Pictures::PicHelp2, -1},
    {"Help3.jpg", 32, 32, Whole(32, 32), &Pictures::PicHelp3, -1},
    {"CursorMenu.jpg", 36, 18, {18, 18, 1, 0, 0, 18, 0}, &Pictures::PicCursorMenu, -1},
    {"MainMenu.jpg", 270, 270, Whole(270, 270), &Pictures::PicMainMenu, -1},
    {"EnterText.jpg", 150, 30, {150, 15, 1, 0, 0, 0, 15}, &Pictures::PicEnterText, -1},
    {"Player.jpg", 1512, 42, kSoldierSheet, &Pictures::SheetPlayer, -1},
    {"AiLVL0.jpg", 1512, 42, kSoldierSheet, nullptr, 0},
    {"AiLVL1.jpg", 1512, 42, kSoldierSheet, nullptr, 1},
    {"AiLVL2.jpg", 1512, 42, kSoldierSheet, nullptr, 2},
    {"AiLVL3.jpg", 1512, 42, kSoldierSheet, nullptr, 3},
    {"AiLVL4.jpg", 1512, 42, kSoldierSheet, nullptr, 4},
    {"AiLVL5.jpg", 1512, 42, kSoldierSheet, nullptr, 5},
    {"StatusHealth.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusHealth, -1},
    {"StatusAmmo.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusAmmo, -1},
    {"StatusAccuracy.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusAccuracy, -1},
    {"StatusRecharge.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusRecharge, -1},
    {"StatusBulletSpeed.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusBulletSpeed, -1},
    {"StatusMelee.jpg", 300, 20, kStatusStrip, &Pictures::PicStatusMelee, -1},
    {"Health.jpg", 14, 7, {7, 7, 2, 7, 0, 0, 0}, &Pictures::PicHealth, -1},
    {"Ammo.jpg", 18, 7, {9, 7, 2, 9, 0, 0, 0}, &Pictures::PicAmmo, -1},
    {"Acid.jpg", 14, 7, {7, 7, 2, 7, 0, 0, 0}, &Pictures::PicAcid, -1},
    {"AcidHearth.jpg", 90, 60, {30, 30, 3, 30, 0, 0, 30}, &Pictures::PicAcidHearth, -1},
    {"BombIcon.jpg", 60, 30, {30, 30, 1, 0, 0, 30, 0}, &Pictures::PicBombIcon, -1},
    {"BoomDirt.jpg", 128, 64, {64, 64, 1, 0, 0, 64, 0}, &Pictures::PicBoomDirt, -1},
    {"Explosion.jpg", 1728, 128, {64, 64, 27, 64, 0, 0, 64}, &Pictures::PicExplosion, -1},
    {"AirPlane.jpg", 80, 40, {40, 40, 1, 0, 0, 40, 0}, &Pictures::PicAirPlane, -1},
    {"Cleaner.jpg", 100, 64, {50, 64, 1, 0, 0, 50, 0}, &Pictures::PicCleaner, -1},
    {"CleanLine.jpg", 50, 340, Whole(50, 340), &Pictures::PicCleanLine, -1},
    {"Dead.jpg", 40, 80, {20, 20, 4, 0, 20, 20, 0}, &Pictures::PicDead, -1},
    {"CursorFire.jpg", 18, 9, {9, 9, 1, 0, 0, 9, 0}, &Pictures::PicCursorFire, -1},
    {"Foot.jpg", 4, 4, Whole(2, 2), &Pictures::FootDC, -1},
    {"BulletsOut.jpg", 11, 22, {11, 11, 1, 0, 0, 0, 11}, &Pictures::PicBulletsOut, -1},
    {"Ovca.jpg", 828, 33, {23, 16, 36, 23, 0, 0, 17}, &Pictures::PicOvca, -1},
    {"OvcaDead.jpg", 17, 32, {17, 16, 1, 0, 0, 0, 16}, &Pictures::PicOvcaDead, -1},
    {"WalkHere.jpg", 40, 20, {20, 20, 1, 0, 0, 20, 0}, &Pictures::PicWalkHere, -1},
    {"InRowBar.jpg", 300, 3, Whole(300, 3), &Pictures::PicInRowBar, -1},
    {"LogoFull.jpg", 107, 80, {107, 40, 1, 0, 0, 0, 40}, &Pictures::PicLogoFull, -1},
};
static_assert(std::size(kRows) == 52);

// Loads a documented picture path into a surface; the surface is untouched when it fails.
bool LoadInto(Game& g, std::string_view documented, Surface& into) {
  std::filesystem::path file = g.PathOf(documented);
  if (file.empty()) return false;
  // Larger than its row says: a damaged or foreign file, refused before it is decoded.
  int w = 0, h = 0;
  if (const PictureRow* row = FindPicture(documented.substr(documented.find_last_of('\\') + 1));
      row && (!g.plat.PictureSize(file, w, h) || w > row->width || h > row->height))
    return false;
  Surface loaded;
  if (!g.plat.LoadPicture(file, loaded) || loaded.Empty()) return false;
  into = std::move(loaded);
  return true;
}

}  // namespace

std::span<const PictureRow> PictureCatalogue() { return kRows; }

const PictureRow* FindPicture(std::string_view file) {
  for (const PictureRow& row : kRows)
    if (file == row.file) return &row;
  return nullptr;
}

Surface& RowSurface(Pictures& p, const PictureRow& row) {
  return row.member ? p.*row.member : p.SheetAi[row.aiSheet];
}

void LoadPictures(Game& g) {
  g.plat.MemoryStatus(g.pics.MemTotal, g.pics.MemAvail);
  g.rng.Randomize(g.plat.Timer());
  // Maps 1..5; only four are generated, a fifth is used when someone supplies it.
  std::string map = "\\Pictures\\Map0" + IntText(static_cast<long long>(Floor(g.Rnd() * 5)) + 1) + ".bmp";
  LoadInto(g, map, g.form.Terain);
  // Kept: the score screens clear the panel to it before any game has drawn the panel.
  LoadInto(g, "\\Pictures\\StatusBar.jpg", g.pics.PicStatusBar);
  ClearStatusField(g);
  RefreshStatusField(g);
  bool first = true;
  for (const PictureRow& row : kRows) {
    if (!row.Looped()) continue;
    Surface& s = RowSurface(g.pics, row);
    s.Clear();
    LoadInto(g, std::string("\\Pictures\\") + row.file, s);
    // From "Loading.jpg" on, the loading screen shows each picture's arrival.
    if (!first) ShowProgress(g);
    first = false;
  }
}

void FreePictures(Game& g) {
  for (const PictureRow& row : kRows)
    if (row.Looped()) RowSurface(g.pics, row).Clear();
  g.pics.PicStatusBar.Clear();
}

void ClearStatusField(Game& g) {
  Surface& f = g.form.StatusField;
  // The box keeps its size whatever the picture's size.
  if (g.pics.PicStatusBar.Empty())
    f.Fill(0);
  else
    BitBlt(f, 0, 0, f.Width(), f.Height(), g.pics.PicStatusBar, 0, 0, Rop::SrcCopy);
}

void DrawText(Game& g, Surface& s, int x, int y, std::string_view text, int count) {
  TextOutA(s, g.plat.Fonts(), x, y, text, count);
}

void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& pic, int ix, int iy, int mx,
                int my) {
  BitBlt(dst, x, y, w, h, pic, mx, my, Rop::SrcAnd);
  BitBlt(dst, x, y, w, h, pic, ix, iy, Rop::SrcPaint);
}

}  // namespace vorlan
