// A headless game with the player placed as a new game leaves it, shared by the world tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "game.h"
#include "numbers.h"
#include "platform/headless/headless_platform.h"
#include "support/battlefield.h"

namespace vorlan::testing {

class WorldTest : public ::testing::Test {
 protected:
  WorldTest() {
    g.form.Field.Resize(300, 300);
    g.form.Terain.Resize(320, 320, kGround);
    g.form.InGame = kTrue;
    Soldier& p = PlaceSoldier(g, 0, 140, 140, 100, 60, 15, 20);
    p.Facing = 270;
  }

  Soldier& P() { return g.world.Soldiers[0]; }

  // A live enemy at (x, y) with everyday values.
  Soldier& Enemy(int slot, float x, float y) { return PlaceSoldier(g, slot, x, y, 20, 20, 20, 10); }

  // A bullet in flight at (x, y) heading right.
  Bullet& Shot(int slot, double x, double y, int owner, int16_t range = 50, int16_t speed = 3) {
    Bullet& b = g.world.Bullets[slot];
    b.BulletRange = range;
    b.BulletX = x;
    b.BulletY = y;
    b.BulletAngle = 0;
    b.BulletDX = 1;
    b.BulletDY = 0;
    b.BulletSpeed = speed;
    b.BulletOwner = static_cast<int16_t>(owner);
    return b;
  }

  int CountOn(const std::array<int16_t, kCrateSlots>& flags) const {
    return static_cast<int>(std::count(flags.begin(), flags.end(), kTrue));
  }

  static constexpr Color kGround = Rgb(10, 80, 10);

  HeadlessPlatform plat;
  Game g{plat};
};

}  // namespace vorlan::testing
