#include "world/particles.h"

#include <algorithm>

#include "world/world_fixture.h"

namespace vorlan::testing {
namespace {

using ParticlesTest = WorldTest;

int Flying(const Game& g) {
  int n = 0;
  for (int16_t life : g.world.BloodLife) n += life >= 1 ? 1 : 0;
  return n;
}

int CountColour(const Surface& s, Color c) {
  int n = 0;
  for (Color p : s.Pixels()) n += p == c ? 1 : 0;
  return n;
}

TEST_F(ParticlesTest, ABurstFillsTheFirstFreeSlotsAndUsesUpItsCount) {
  g.world.BloodLife[1] = 9;  // already flying
  double count = 3;
  Blood(g, 100, 100, count, 45, 7);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Flying(g), 4);
  for (int i : {0, 2, 3}) {
    EXPECT_EQ(g.world.BloodSpeed[i], 2);
    EXPECT_GE(g.world.BloodLife[i], 4);  // 5..20, one step already taken
    EXPECT_LE(g.world.BloodLife[i], 19);
    EXPECT_GE(g.world.BloodDir[i], 45 - 40);
    EXPECT_LE(g.world.BloodDir[i], 45 + 40);
  }
  EXPECT_EQ(g.world.BloodLife[4], 0);

  // More drops than free slots: the burst stops at the end of the table.
  count = 500;
  Blood(g, 100, 100, count, 45, 7);
  EXPECT_EQ(count, 500 - (kBloodSlots - 4));
}

TEST_F(ParticlesTest, DirectionsBelowOneScatterEverywhere) {
  double count = 200;
  Blood(g, 150, 150, count, 0, 3);
  int16_t lo = 999, hi = -999;
  for (int i = 0; i < 200; ++i)
    lo = std::min(lo, g.world.BloodDir[i]), hi = std::max(hi, g.world.BloodDir[i]);
  EXPECT_LT(lo, 20);
  EXPECT_GT(hi, 340);
}

TEST_F(ParticlesTest, InvisibleDropsStillLeaveTheirDots) {
  g.options.OptBloodFly = 8;
  g.options.OptBloodStays = 0;
  double count = 30;
  Blood(g, 150, 150, count, 90, 6);
  const int groundBefore = CountColour(g.form.Terain, kGround);
  for (int n = 0; n < 25; ++n) {
    double none = 0;
    Blood(g, 0, 0, none, 0, 0);
  }
  EXPECT_EQ(Flying(g), 0);
  EXPECT_EQ(CountColour(g.form.Field, Rgb(255, 0, 0)), 0);
  const int dots = CountColour(g.form.Terain, Rgb(255, 0, 0)) + CountColour(g.form.Terain, Rgb(207, 72, 44));
  EXPECT_GT(dots, 5);
  EXPECT_EQ(groundBefore - CountColour(g.form.Terain, kGround), dots);

  // Outside a running game nothing settles.
  g.form.InGame = 0;
  count = 30;
  Blood(g, 50, 50, count, 90, 6);
  Surface before = g.form.Terain;
  for (int n = 0; n < 25; ++n) {
    double none = 0;
    Blood(g, 0, 0, none, 0, 0);
  }
  EXPECT_EQ(g.form.Terain.Pixels(), before.Pixels());
}

TEST_F(ParticlesTest, SnowFollowsSpareTimeAndProximity) {
  g.timing.MaxIdleSpins = 20000;
  P().ProxExp = 80;
  for (int n = 0; n < 100; ++n) Snow(g);
  EXPECT_GT(g.world.SnowCount, 100);
  // Little spare time: one flake fewer per frame.
  const int16_t count = g.world.SnowCount;
  g.timing.MaxIdleSpins = 10000;
  Snow(g);
  EXPECT_EQ(g.world.SnowCount, count - 1);
  // Near the cap it falls back by 20.
  g.timing.MaxIdleSpins = 10001;
  g.world.SnowCount = 950;
  Snow(g);
  EXPECT_EQ(g.world.SnowCount, 930);
  // A timid player sees no snow grow.
  g.world.SnowCount = 0;
  P().ProxExp = 29;
  for (int n = 0; n < 50; ++n) Snow(g);
  EXPECT_EQ(g.world.SnowCount, 0);
}

TEST_F(ParticlesTest, FlakesDriftInLandAndFreezeAboveTheCount) {
  g.world.SnowCount = 40;
  g.timing.MaxIdleSpins = 0;  // the count falls by one per frame
  Snow(g);
  EXPECT_EQ(g.world.SnowCount, 39);
  for (int i = 0; i <= 39; ++i) {
    const Flake& f = g.world.SnowFlakes[i];
    EXPECT_EQ(f.FlakeOn, kTrue);
    EXPECT_TRUE((f.FlakeY == -15 && f.FlakeDir >= 30 && f.FlakeDir <= 89) ||
                (f.FlakeX == -15 && f.FlakeDir >= 20 && f.FlakeDir <= 69));
    EXPECT_GE(f.FlakeSize, 2);
    EXPECT_LE(f.FlakeSize, 6);
  }
  EXPECT_EQ(g.world.SnowFlakes[40].FlakeOn, 0);

  g.world.SnowCount = 30;
  g.timing.MaxIdleSpins = 20000;
  P().ProxExp = 50;  // neither grows nor shrinks by proximity
  const Flake frozen = g.world.SnowFlakes[39];
  for (int n = 0; n < 10; ++n) {
    g.world.SnowCount = 30;
    Snow(g);
  }
  EXPECT_EQ(g.world.SnowFlakes[39].FlakeX, frozen.FlakeX);
  EXPECT_EQ(g.world.SnowFlakes[39].FlakeY, frozen.FlakeY);
  EXPECT_GT(CountColour(g.form.Field, Rgb(255, 255, 255)), 0);
}

TEST_F(ParticlesTest, ALandingFlakeSettlesInTheShadeOfItsSize) {
  g.world.SnowCount = 1;
  g.timing.MaxIdleSpins = 20000;
  P().ProxExp = 50;
  Flake& f = g.world.SnowFlakes[0];
  f = Flake{kTrue, 100, 99, 90, 4, 100};
  g.world.SnowFlakes[1] = Flake{kTrue, 301, 50, 0, 2, 100};  // gone past the edge
  Snow(g);
  EXPECT_EQ(f.FlakeOn, 0);
  EXPECT_EQ(GetPixel(g.form.Terain, 100, 103), Rgb(192, 192, 192));
  EXPECT_EQ(g.world.SnowFlakes[1].FlakeOn, 0);
}

}  // namespace
}  // namespace vorlan::testing
