#include "shell/input.h"

namespace vorlan {

void InitKeyboard(Game& g) {}
void ReleaseKeyboard(Game& g) {}
void PollKeyboard(Game& g) {}
void UpdateCursor(Game& g) {}
void FieldKeyDown(Game& g, int keyCode, int shift) {}
void FieldKeyUp(Game& g, int keyCode, int shift) {}
void FieldMouseDown(Game& g, int button, int shift, float x, float y) {}
void FieldMouseUp(Game& g, int button, int shift, float x, float y) {}

}  // namespace vorlan
