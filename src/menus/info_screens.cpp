#include "menus/info_screens.h"

#include "graphics/picture_catalogue.h"
#include "menus/menu_framework.h"
#include "numbers.h"
#include "persistence/options_file.h"
#include "shell/display.h"

namespace vorlan {

namespace {

// Header, MAIN MENU and its click; false when the pass ends here.
bool ScreenFrame(Game& g, const std::string& header) {
  g.form.Field.fontBold = true;
  DrawMenuItem(g, header, 30, 25, 10, false);
  if (DrawMenuItem(g, "MAIN MENU", 30, 260, 10, true)) {
    LeaveScreen(g);
    return false;
  }
  return true;
}

void FinishScreen(Game& g) {
  g.menus.MenuClickY = 0;
  DrawScreenTitle(g);
}

void Item(Game& g, const std::string& text, int x, int y, int size, bool bold) {
  g.form.Field.fontBold = bold;
  DrawMenuItem(g, text, x, y, size, false);
}

void Picture(Game& g, const Surface& pic, int x, int y, int w, int h) {
  BitBlt(g.form.Field, x, y, w, h, pic, 0, 0, Rop::SrcCopy);
}

// A check-box cell: x 0 is ticked, x 8 empty (so an option flag picks its own box); other
// values pick whatever lies there.
constexpr int kBoxTicked = 0, kBoxEmpty = 8;
void CheckBox(Game& g, int x, int y, int cell) {
  BitBlt(g.form.Field, x, y, 8, 8, g.pics.PicCheck, cell, 0, Rop::SrcCopy);
}

// Anything but on or off from an edited file is normalised.
void Toggle(int16_t& flag) { flag = flag > 0 ? kOptOn : kOptOff; }

// The click itself saved the options before the change; save again so the new value is on
// disk even when the window is closed next.
void SaveToggle(Game& g) { OptionsFile(g, true); }

// One option row: check box, clickable text, toggled when its text or its box was clicked.
bool OptionRow(Game& g, const std::string& text, int tx, int ty, int cx, int cy, int16_t& flag) {
  CheckBox(g, cx, cy, flag);
  if (!DrawMenuItem(g, text, tx, ty, 8, true, cx)) return false;
  Toggle(flag);
  SaveToggle(g);
  return true;
}

}  // namespace

PlayTimeTexts PlayTime(long long playMinutes) {
  PlayTimeTexts t;
  if (playMinutes < 1) return t;  // counters never touched stay empty
  t.minutes = IntText(playMinutes % 60);
  if (playMinutes >= 60) t.hours = IntText((playMinutes / 60) % 24);
  if (playMinutes >= 60 * 24) t.days = IntText(playMinutes / (60 * 24));
  return t;
}

void HelpScreen(Game& g) {
  if (!ScreenFrame(g, "HELP ME")) return;
  Item(g, "GAME KEYS:", 30, 50, 8, true);
  Item(g, "Left mouse click for shooting", 30, 60, 8, false);
  Item(g, "Right mouse for droping bombs", 30, 70, 8, false);
  Item(g, "Moving with arrow keys or W,S,A,D", 30, 80, 8, false);
  Item(g, "Change BulletsOut with 'Q' or 'CTRL'", 30, 90, 8, false);
  Item(g, "GENERAL KEYS:", 30, 105, 8, true);
  Item(g, "'+' and '-' for volume", 30, 115, 8, false);
  Item(g, "'Enter' for New/resume game", 30, 125, 8, false);
  Item(g, "'Escape' for pause", 30, 135, 8, false);
  Picture(g, g.pics.PicHelp1, 30, 150, 23, 32);
  Item(g, "That number shows how many bullets", 57, 147, 8, false);
  Item(g, "has left in crate when you are over it!", 57, 157, 8, false);
  Picture(g, g.pics.PicHelp2, 30, 185, 62, 20);
  Item(g, "Your health (Max.health)", 96, 182, 8, false);
  Item(g, "Your ammo (Max.ammo)", 96, 192, 8, false);
  Picture(g, g.pics.PicHelp3, 30, 208, 32, 32);
  Item(g, "Number of bombs you can drop.", 66, 205, 8, false);
  Item(g, "One bomb = 15 bullets", 66, 215, 8, false);
  Picture(g, g.pics.PicAcid, 30, 243, 7, 7);
  Item(g, "Drugs -'four of them' two good and two bad !", 41, 240, 8, false);
  FinishScreen(g);
}

void AboutScreen(Game& g) {
  if (!ScreenFrame(g, "ABOUT")) return;
  Item(g, "IRON MEADOW", 30, 50, 18, true);
  Item(g, "Vorlan, version 1.2", 30, 80, 10, true);
  Item(g, "A top-down battle for one soldier:", 30, 95, 8, false);
  Item(g, "hold the meadow as long as you can.", 30, 105, 8, false);
  Item(g, "Game design, code and pictures", 30, 120, 8, false);
  Item(g, "by the Vorlan team.", 30, 130, 8, false);
  Item(g, "Sounds made by our own generator,", 30, 145, 8, false);
  Item(g, "maps grown from four photographs.", 30, 155, 8, false);
  Item(g, "Thanks to every player who sends", 30, 170, 8, false);
  Item(g, "a score to the world table.", 30, 180, 8, false);
  Item(g, "Made for long nights", 30, 200, 10, false);
  Item(g, "on the meadow.", 30, 210, 10, false);
  Item(g, "Free to play and to share.", 30, 230, 8, false);
  Item(g, "Sheep were harmed only a little.", 30, 241, 8, false);
  FinishScreen(g);
}

void OptionsScreen(Game& g) {
  if (!ScreenFrame(g, "OPTIONS")) return;
  OptionsState& o = g.options;
  g.form.Field.fontBold = false;
  OptionRow(g, "Snow", 42, 50, 30, 53, o.OptSnow);
  OptionRow(g, "Bullet fly effect", 42, 60, 30, 63, o.OptBulletFly);
  OptionRow(g, "Blood (fly)", 42, 70, 30, 73, o.OptBloodFly);
  OptionRow(g, "Blood stays on ground", 42, 80, 30, 83, o.OptBloodStays);
  OptionRow(g, "Foot-steps", 42, 90, 30, 93, o.OptFootSteps);
  OptionRow(g, "Debug info", 42, 100, 30, 103, o.OptDebugInfo);
  OptionRow(g, "Score info (YourScore,Place in front and his score)", 42, 110, 30, 113,
            o.OptScoreInfo);
  OptionRow(g, "AlphaBlend (transp.)", 162, 51, 150, 53, o.OptAlphaBlend);
  OptionRow(g, "KillsInRow (status bar)", 162, 61, 150, 63, o.OptKillsInRow);
  if (OptionRow(g, "Full Screen (640x480)", 42, 125, 30, 128, o.OptFullScreen)) {
    SetDisplayMode(g, o.OptFullScreen == kOptOn);
    SaveToggle(g);  // a failed switch turns the option off again
  }

  o.SoundMuted = o.SoundVolume < 1 ? kOptOff : kOptOn;
  CheckBox(g, 30, 143, o.SoundMuted);
  DrawMenuItem(g, "Sound Volume: " + IntText(o.SoundVolume) + "% (Press - and + to change it)", 42,
               140, 8, false);
  CheckBox(g, 30, 153, o.SoundMuted == kOptOff ? kBoxEmpty : kBoxTicked);
  if (DrawMenuItem(g, o.OptMono == kOptOn ? "Sound: Stereo" : "Sound: Mono", 42, 150, 8, true)) {
    Toggle(o.OptMono);
    SaveToggle(g);
  }
  CheckBox(g, 30, 163, kBoxTicked);
  if (DrawMenuItem(g,
                   o.OptMovementReal == kOptOn ? "Movement: Static (Up, down, left, right)"
                                               : "Movement: Real (Following the cursor)",
                   42, 160, 8, true)) {
    Toggle(o.OptMovementReal);
    SaveToggle(g);
  }

  Item(g, "GAME INFO", 30, 175, 10, true);
  g.form.Field.fontBold = false;
  PlayTimeTexts t = PlayTime(o.PlayMinutes);
  DrawMenuItem(g, "You are playing Vorlan for:", 30, 190, 8, false);
  DrawMenuItem(g, "Days: " + t.days, 30, 200, 8, false);
  DrawMenuItem(g, "Hours: " + t.hours, 30, 210, 8, false);
  DrawMenuItem(g, "Minutes: " + t.minutes, 30, 220, 8, false);
  DrawMenuItem(g, "Times played: " + IntText(o.TimesPlayed), 30, 235, 8, false);
  FinishScreen(g);
}

}  // namespace vorlan
