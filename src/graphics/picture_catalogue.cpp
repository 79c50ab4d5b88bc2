#include "graphics/picture_catalogue.h"

#include <string>

#include "numbers.h"
#include "shell/display.h"

namespace vorlan {

namespace {

const PictureRow kRows[] = {
    {"MainLogo.jpg", &Pictures::PicMainLogo, -1},
    {"Loading.jpg", &Pictures::PicLoading, -1},
    {"Logo.jpg", &Pictures::PicLogo, -1},
    {"SliderMenu.jpg", &Pictures::PicSliderMenu, -1},
    {"SliderDrag.jpg", &Pictures::PicSliderDrag, -1},
    {"Layer.jpg", &Pictures::PicLayer, -1},
    {"LayerScore.jpg", &Pictures::PicLayerScore, -1},
    {"Check.jpg", &Pictures::PicCheck, -1},
    {"ScoreUpDown.jpg", &Pictures::PicScoreUpDown, -1},
    {"Help1.jpg", &Pictures::PicHelp1, -1},
    {"Help2.jpg", &Pictures::PicHelp2, -1},
    {"Help3.jpg", &Pictures::PicHelp3, -1},
    {"CursorMenu.jpg", &Pictures::PicCursorMenu, -1},
    {"MainMenu.jpg", &Pictures::PicMainMenu, -1},
    {"EnterText.jpg", &Pictures::PicEnterText, -1},
    {"Player.jpg", &Pictures::SheetPlayer, -1},
    {"AiLVL0.jpg", nullptr, 0},
    {"AiLVL1.jpg", nullptr, 1},
    {"AiLVL2.jpg", nullptr, 2},
    {"AiLVL3.jpg", nullptr, 3},
    {"AiLVL4.jpg", nullptr, 4},
    {"AiLVL5.jpg", nullptr, 5},
    {"StatusHealth.jpg", &Pictures::PicStatusHealth, -1},
    {"StatusAmmo.jpg", &Pictures::PicStatusAmmo, -1},
    {"StatusAccuracy.jpg", &Pictures::PicStatusAccuracy, -1},
    {"StatusRecharge.jpg", &Pictures::PicStatusRecharge, -1},
    {"StatusBulletSpeed.jpg", &Pictures::PicStatusBulletSpeed, -1},
    {"StatusMelee.jpg", &Pictures::PicStatusMelee, -1},
    {"Health.jpg", &Pictures::PicHealth, -1},
    {"Ammo.jpg", &Pictures::PicAmmo, -1},
    {"Acid.jpg", &Pictures::PicAcid, -1},
    {"AcidHearth.jpg", &Pictures::PicAcidHearth, -1},
    {"BombIcon.jpg", &Pictures::PicBombIcon, -1},
    {"BoomDirt.jpg", &Pictures::PicBoomDirt, -1},
    {"Explosion.jpg", &Pictures::PicExplosion, -1},
    {"AirPlane.jpg", &Pictures::PicAirPlane, -1},
    {"Cleaner.jpg", &Pictures::PicCleaner, -1},
    {"CleanLine.jpg", &Pictures::PicCleanLine, -1},
    {"Dead.jpg", &Pictures::PicDead, -1},
    {"CursorFire.jpg", &Pictures::PicCursorFire, -1},
    {"Foot.jpg", &Pictures::FootDC, -1},
    {"BulletsOut.jpg", &Pictures::PicBulletsOut, -1},
    {"Ovca.jpg", &Pictures::PicOvca, -1},
    {"OvcaDead.jpg", &Pictures::PicOvcaDead, -1},
    {"WalkHere.jpg", &Pictures::PicWalkHere, -1},
    {"InRowBar.jpg", &Pictures::PicInRowBar, -1},
    {"LogoFull.jpg", &Pictures::PicLogoFull, -1},
};
constexpr int kRowCount = sizeof kRows / sizeof kRows[0];
static_assert(kRowCount == 47);

// Loads a documented picture path into a surface; the surface is untouched when it fails.
bool LoadInto(Game& g, std::string_view documented, Surface& into) {
  std::filesystem::path file = g.PathOf(documented);
  if (file.empty()) return false;
  Surface loaded;
  if (!g.plat.LoadPicture(file, loaded) || loaded.Empty()) return false;
  into = std::move(loaded);
  return true;
}

}  // namespace

const PictureRow* PictureCatalogue(int& count) {
  count = kRowCount;
  return kRows;
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
  // The status bar keeps its box size whatever the picture's size.
  Surface bar;
  if (LoadInto(g, "\\Pictures\\StatusBar.jpg", bar))
    BitBlt(g.form.StatusField, 0, 0, bar.Width(), bar.Height(), bar, 0, 0, Rop::SrcCopy);
  RefreshStatusField(g);
  for (int i = 0; i < kRowCount; ++i) {
    Surface& s = RowSurface(g.pics, kRows[i]);
    s.Clear();
    LoadInto(g, std::string("\\Pictures\\") + kRows[i].file, s);
    // From "Loading.jpg" on, the loading screen shows each picture's arrival.
    if (i >= 1) ShowProgress(g);
  }
}

void FreePictures(Game& g) {
  for (int i = 0; i < kRowCount; ++i) RowSurface(g.pics, kRows[i]).Clear();
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
