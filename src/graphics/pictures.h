// The picture catalogue surfaces (module WorkWithMemory) and the capture state (Tavex).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/surface.h"

namespace vorlan {

// One surface per picture of the catalogue; an empty surface is a picture that failed to load. Sizes,
// frames and mask offsets are in the catalogue rows (graphics/picture_catalogue.cpp).
struct Pictures {
  Surface PicMainLogo;
  Surface PicLoading;
  Surface PicLogo;
  Surface PicSliderMenu;
  Surface PicSliderDrag;
  Surface PicLayer;
  Surface PicLayerScore;
  Surface PicCheck;
  Surface PicScoreUpDown;
  Surface PicHelp1, PicHelp2, PicHelp3;
  Surface PicCursorMenu;
  Surface PicMainMenu;
  Surface PicEnterText;
  Surface SheetPlayer;
  std::array<Surface, 6> SheetAi;  // AiLVL0..AiLVL5
  Surface PicStatusHealth, PicStatusAmmo, PicStatusAccuracy, PicStatusRecharge, PicStatusBulletSpeed,
      PicStatusMelee;
  Surface PicHealth, PicAmmo, PicAcid;
  Surface PicAcidHearth;
  Surface PicBombIcon;
  Surface PicBoomDirt;
  Surface PicExplosion;
  Surface PicAirPlane;
  Surface PicCleaner;
  Surface PicCleanLine;
  Surface PicDead;
  Surface PicCursorFire;
  Surface FootDC;
  Surface PicBulletsOut;
  Surface PicOvca, PicOvcaDead;
  Surface PicWalkHere;
  Surface PicInRowBar;
  Surface PicLogoFull;
  Surface PicStatusBar;  // StatusBar.jpg, kept so the status panel can wipe StatusField back to it

  // Memory status read when the pictures are loaded (bytes), shown by the debug line.
  uint64_t MemTotal = 0;
  uint64_t MemAvail = 0;
};

}  // namespace vorlan
