// The battlefield with the player placed as a new game leaves it, shared by the world tests.
#pragma once

#include <algorithm>

#include "soldiers/battle_fixture.h"

namespace vorlan::testing {

class WorldTest : public BattleTest {
 protected:
  WorldTest() {
    g.form.Terain.Fill(kGround);
    g.form.InGame = kTrue;
    PlaceSoldier(g, 0, 140, 140, 100, 60, 15, 20).Facing = 270;
  }

  // A live enemy at (x, y) with everyday values.
  Soldier& Enemy(int slot, float x, float y) { return PlaceSoldier(g, slot, x, y, 20, 20, 20, 10); }

  // A bullet in flight at (x, y) heading right, 3 pixels a step.
  Bullet& Shot(int slot, double x, double y, int16_t owner, int16_t range = 50) {
    return g.world.Bullets[slot] = {.BulletRange = range,
                                    .BulletX = x,
                                    .BulletY = y,
                                    .BulletDX = 1,
                                    .BulletSpeed = 3,
                                    .BulletOwner = owner};
  }

  int CountOn(const std::array<int16_t, kCrateSlots>& flags) const {
    return static_cast<int>(std::count(flags.begin(), flags.end(), kTrue));
  }

  int BloodFlying() const {
    const auto& life = g.world.BloodLife;
    return static_cast<int>(std::count_if(life.begin(), life.end(), [](int16_t l) { return l >= 1; }));
  }

  static constexpr Color kGround = Rgb(10, 80, 10);
};

}  // namespace vorlan::testing
