#include "sound/sound_bank.h"

namespace vorlan {

void LoadSounds(Game& g) {}
void PlaySound(Game& g, int index, double position) {}
void ReleaseSounds(Game& g) {}
void MenuAmbienceOn(Game& g) {}
void GameAmbienceOn(Game& g) {}
void SetBufferVolume(Game& g, int index, int volume) {}
void StopSound(Game& g, int index) {}

}  // namespace vorlan
