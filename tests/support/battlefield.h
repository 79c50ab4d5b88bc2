// Soldiers set up by hand on a headless battlefield, shared by the world and soldier tests.
#pragma once

#include "game.h"
#include "numbers.h"
#include "platform/headless/headless_platform.h"

namespace vorlan::testing {

// Puts a live soldier at (x, y) in a slot, every other field cleared, with the given fighting values.
inline Soldier& PlaceSoldier(Game& g, int slot, float x, float y, float health, double range,
                             int16_t rechargeTime, int16_t ammo = 0) {
  Soldier& s = g.world.Soldiers[slot];
  s = Soldier{};
  s.Alive = kTrue;
  s.X = x;
  s.Y = y;
  s.Speed = 10;
  s.Health = health;
  s.Spread = 30;
  s.Power = 3;
  s.Range = range;
  s.RechargeTime = rechargeTime;
  s.Ammo = ammo;
  return s;
}

// How many recorded audio calls of one kind went to one sound.
inline int AudioCount(const HeadlessPlatform& plat, int index,
                      HeadlessPlatform::AudioCall::Op op = HeadlessPlatform::AudioCall::Op::Play) {
  int n = 0;
  for (const auto& c : plat.audioCalls) n += c.index == index && c.op == op;
  return n;
}

// The last recorded audio call of one kind to one sound; value -99999 when there was none.
inline HeadlessPlatform::AudioCall LastAudio(const HeadlessPlatform& plat, int index,
                                             HeadlessPlatform::AudioCall::Op op) {
  HeadlessPlatform::AudioCall found{op, index, -99999, false};
  for (const auto& c : plat.audioCalls)
    if (c.index == index && c.op == op) found = c;
  return found;
}

}  // namespace vorlan::testing
