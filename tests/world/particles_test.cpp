#include "world/particles.h"

#include <algorithm>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using ParticlesTest = WorldTest;

int CountColour(const Surface& s, Color c) {
  return static_cast<int>(std::count(s.Pixels().begin(), s.Pixels().end(), c));
}

// Frames of flight with no new drops.
void Fly(Game& g, int frames) {
  for (double none = 0; frames-- > 0;) Blood(g, 0, 0, none, 0, 0);
}

TEST_F(ParticlesTest, ABurstFillsTheFirstFreeSlotsAndUsesUpItsCount) {
  g.world.BloodLife[1] = 9;  // already flying
  double count = 3;
  Blood(g, 100, 100, count, 45, 7);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(BloodFlying(), 4);
  EXPECT_EQ(g.world.BloodLife[4], 0);

  // More drops than free slots: the burst stops at the end of the table.
  count = 500;
  Blood(g, 100, 100, count, 45, 7);
  EXPECT_EQ(count, 500 - (kBloodSlots - 4));
}

TEST_F(ParticlesTest, InvisibleDropsStillLeaveTheirDots) {
  g.options.OptBloodFly = 8;
  g.options.OptBloodStays = 0;
  double count = 30;
  Blood(g, 150, 150, count, 90, 6);
  const int groundBefore = CountColour(g.form.Terain, kGround);
  Fly(g, 25);
  EXPECT_EQ(BloodFlying(), 0);
  EXPECT_EQ(CountColour(g.form.Field, Rgb(255, 0, 0)), 0);
  const int dots = CountColour(g.form.Terain, Rgb(255, 0, 0)) + CountColour(g.form.Terain, Rgb(207, 72, 44));
  EXPECT_GT(dots, 5);
  EXPECT_EQ(groundBefore - CountColour(g.form.Terain, kGround), dots);

  // Outside a running game nothing settles.
  g.form.InGame = 0;
  count = 30;
  Blood(g, 50, 50, count, 90, 6);
  Surface before = g.form.Terain;
  Fly(g, 25);
  EXPECT_EQ(g.form.Terain.Pixels(), before.Pixels());
}

// A machine short of spare time melts the snow one flake a frame.
TEST_F(ParticlesTest, LittleSpareTimeMeltsTheSnow) {
  g.timing.MaxIdleSpins = 10000, g.world.SnowCount = 200;
  Snow(g);
  EXPECT_EQ(g.world.SnowCount, 199);
}

}  // namespace
}  // namespace vorlan::testing
