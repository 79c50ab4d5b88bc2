// A headless game with a small battlefield set up by hand, shared by the soldier and world tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game.h"
#include "numbers.h"
#include "platform/headless/headless_platform.h"
#include "support/battlefield.h"

namespace vorlan::testing {

// One soldier-file line: the key in columns 1..20, a blank, the value from column 22.
inline std::string KeyLine(const std::string& key, const std::string& value) {
  std::string line = key;
  line.resize(20, ' ');
  return line + " " + value;
}

class BattleTest : public ::testing::Test {
 protected:
  BattleTest() {
    g.form.Field.Resize(300, 300);
    g.form.Terain.Resize(320, 320);
    g.timing.FramesLastSecond = 33;  // a healthy frame rate keeps separation on
    g.options.OptFootSteps = 8;
    std::filesystem::create_directories(plat.ProgramDir() / "OtherFiles");
  }

  void WriteOtherFile(const std::string& name, const std::vector<std::string>& lines) {
    std::ofstream out(plat.ProgramDir() / "OtherFiles" / name, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
  }

  Soldier& P() { return g.world.Soldiers[0]; }

  // A live soldier at (x, y) with everyday values.
  Soldier& Put(int slot, float x, float y) { return PlaceSoldier(g, slot, x, y, 50, 60, 15); }

  // A live sheep at (x, y), calm and of the first kind.
  SheepRec& Sheep(int slot, float x, float y, int16_t health) {
    SheepRec& s = g.world.Sheep[slot] = SheepRec{};
    s.SheepAlive = kTrue, s.SheepX = x, s.SheepY = y, s.SheepHealth = health;
    s.SheepSpeed = 3, s.SheepKind = 1;
    return s;
  }

  int BulletsInFlight() const {
    int n = 0;
    for (const auto& b : g.world.Bullets) n += b.BulletRange >= 1;
    return n;
  }

  HeadlessPlatform plat;
  Game g{plat};
};

}  // namespace vorlan::testing
