#include "shell/startup.h"

namespace vorlan {

void WindowLoad(Game& g) {}
void MainLoop(Game& g) {}
void MainLoopPass(Game& g) {}
void WindowUnload(Game& g) {}
void SetDisplayMode(Game& g, bool fullScreen) {}
void ClipCursorToField(Game& g, bool on) {}
void ShowProgress(Game& g) {}
void RefreshField(Game& g) {}
void RefreshStatusField(Game& g) {}
void DoEvents(Game& g) {}

}  // namespace vorlan
