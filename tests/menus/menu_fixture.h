// A headless game on a menu screen with a scripted cursor and left button.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "game.h"
#include "numbers.h"
#include "support/battlefield.h"

namespace vorlan {

struct MenuFixture : ::testing::Test {
  HeadlessPlatform plat;
  Game g{plat};

  MenuFixture() {
    std::filesystem::create_directories(plat.ProgramDir() / "OtherFiles");
    g.form.Field.Resize(300, 300);
    g.form.StatusField.Resize(300, 78);
    g.ws.WsLoadCounter = 5;
    g.ws.ConnectionChecked = true;
    g.ws.ConnectionCheckedAt = plat.GetTickCount();
    g.ws.Connected = kFalse;
  }

  // Cursor over the point, button up or down.
  void Cursor(int x, int y, bool pressed = false) {
    g.input.CursorX = x;
    g.input.CursorY = y;
    g.input.MouseLeft = Bool16(pressed);
  }
  // A press just inside the corner of an item drawn at (x, y).
  void Click(int x, int y) { Cursor(x + 3, y + 5, true); }

  int Plays(int index) const { return testing::AudioCount(plat, index); }
};

}  // namespace vorlan
