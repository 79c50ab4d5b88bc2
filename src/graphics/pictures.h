// The picture catalogue surfaces (module WorkWithMemory) and the capture state (Tavex).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/surface.h"

namespace vorlan {

// One surface per picture of the catalogue; an empty surface is a picture that failed to load.
struct Pictures {
  Surface PicMainLogo;    // 300 x 300 splash
  Surface PicLoading;     // 300 x 13 loading bar
  Surface PicLogo;        // 107 x 23, mask at y 24
  Surface PicSliderMenu;  // 10 x 140, mask at x 10
  Surface PicSliderDrag;  // 8 x 14
  Surface PicLayer;       // 298 x 13
  Surface PicLayerScore;  // 85 x 15, mask at y 15
  Surface PicCheck;       // two 8 x 8 cells at x 0 and 8
  Surface PicScoreUpDown;
  Surface PicHelp1, PicHelp2, PicHelp3;
  Surface PicCursorMenu;  // 18 x 18, mask at x 18
  Surface PicMainMenu;    // menu backdrop, 270 x 270 used
  Surface PicEnterText;
  Surface SheetPlayer;             // 72 frames of 21 x 21, mask rows 21..41
  std::array<Surface, 6> SheetAi;  // AiLVL0..AiLVL5, same layout
  Surface PicStatusHealth, PicStatusAmmo, PicStatusAccuracy, PicStatusRecharge, PicStatusBulletSpeed,
      PicStatusMelee;  // 300 x 20 bar pictures
  Surface PicHealth, PicAmmo, PicAcid;
  Surface PicAcidHearth;  // three 30 x 30 frames, mask rows 30..59
  Surface PicBombIcon;    // 30 x 30, mask at x 30
  Surface PicBoomDirt;    // 64 x 64, mask at x 64
  Surface PicExplosion;   // 27 frames of 64 x 64, mask rows 64..127
  Surface PicAirPlane;    // 40 x 40, mask at x 40
  Surface PicCleaner;     // 50 x 64, mask at x 50
  Surface PicCleanLine;
  Surface PicDead;        // four 20 x 20 frames stacked, mask column x 20
  Surface PicCursorFire;  // 9 x 9, mask at x 9
  Surface FootDC;         // footprint, top-left 2 x 2 used
  Surface PicBulletsOut;
  Surface PicOvca, PicOvcaDead;
  Surface PicWalkHere;  // 20 x 20, mask at y 20
  Surface PicInRowBar;
  Surface PicLogoFull;   // 107 x 40, mask at y 40
  Surface PicStatusBar;  // StatusBar.jpg, kept so the status panel can wipe StatusField back to it

  // Memory status read when the pictures are loaded (bytes), shown by the debug line.
  uint64_t MemTotal = 0;
  uint64_t MemAvail = 0;
};

}  // namespace vorlan
