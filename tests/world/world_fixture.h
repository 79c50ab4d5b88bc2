// A headless game with the player placed as a new game leaves it, shared by the world tests.
#pragma once

#include <gtest/gtest.h>

#include "game.h"
#include "numbers.h"
#include "platform/headless_platform.h"

namespace vorlan::testing {

class WorldTest : public ::testing::Test {
 protected:
  WorldTest() {
    g.form.Field.Resize(300, 300);
    g.form.Terain.Resize(320, 320, kGround);
    g.form.InGame = kTrue;
    Soldier& p = g.world.Soldiers[0];
    p.Alive = kTrue;
    p.X = 140;
    p.Y = 140;
    p.Facing = 270;
    p.Ammo = 20;
    p.Speed = 10;
    p.Health = 100;
    p.Spread = 30;
    p.Power = 3;
    p.Range = 60;
    p.RechargeTime = 15;
  }

  Soldier& P() { return g.world.Soldiers[0]; }

  // A live enemy at (x, y) with everyday values.
  Soldier& Enemy(int slot, float x, float y) {
    Soldier& s = g.world.Soldiers[slot];
    s = Soldier{};
    s.Alive = kTrue;
    s.X = x;
    s.Y = y;
    s.Speed = 10;
    s.Health = 20;
    s.Spread = 30;
    s.Power = 3;
    s.Range = 20;
    s.RechargeTime = 20;
    s.Ammo = 10;
    return s;
  }

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
    int n = 0;
    for (int16_t f : flags) n += f == kTrue ? 1 : 0;
    return n;
  }

  static constexpr Color kGround = Rgb(10, 80, 10);

  HeadlessPlatform plat;
  Game g{plat};
};

}  // namespace vorlan::testing
