#include "graphics/screen_capture.h"

#include <system_error>

#include "numbers.h"
#include "sound/sound_bank.h"

namespace vorlan {

void SaveScreenshot(Game& g, const std::filesystem::path& stem, int quality) {
  std::filesystem::path target = stem;
  if (target.empty()) {
    target = g.PathOf("c:\\Windows\\desktop\\test");
    if (target.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
  }
  // What the player sees: the displayed copies, with the cursor sprites the game drew into
  // them (the system cursor is hidden over the field).
  Surface& shot = g.form.LoadPicDC;
  shot.Resize(300, 378, 0);
  BitBlt(shot, 0, 0, 300, 300, g.form.FieldShown, 0, 0, Rop::SrcCopy);
  BitBlt(shot, 0, 300, 300, 78, g.form.StatusShown, 0, 0, Rop::SrcCopy);
  std::filesystem::path jpg = target;
  jpg += ".jpg";
  g.plat.SaveJpeg(shot, jpg, quality);
}

void TakeScreenshot(Game& g) {
  std::filesystem::path file;
  // The counter stops at its 16-bit limit rather than searching for ever.
  do {
    if (g.input.ScreenshotCounter == 32767) return;
    g.input.ScreenshotCounter = Sat16(g.input.ScreenshotCounter + 1);
    file = g.PathOf("\\Vorlan Pic" + IntText(g.input.ScreenshotCounter) + ".jpg");
    if (file.empty()) return;
  } while (FileExists(file));
  std::filesystem::path stem = file;
  stem.replace_extension();
  SaveScreenshot(g, stem, 50);
  PlaySound(g, snd::Photo, 500);
}

}  // namespace vorlan
