#include "soldiers/player_control.h"

#include <cmath>

#include "soldiers/battle_fixture.h"
#include "soldiers/soldier_pass.h"

namespace vorlan::testing {
namespace {

class PlayerControlTest : public BattleTest {
 protected:
  PlayerControlTest() { Put(0, 100, 100).Ammo = 20; }
  void Key(int scanCode, bool down = true) { g.input.KeyState[scanCode] = down ? 0x80 : 0; }
};

TEST_F(PlayerControlTest, DeadPlayerIgnoresInputAndRequestsStayPending) {
  P().Alive = kFalse;
  g.world.FireModeToggle = kTrue;
  g.input.MouseLeft = kTrue;
  Key(203);
  PlayerControl(g);
  EXPECT_EQ(g.world.FireModeToggle, kTrue);
  EXPECT_EQ(g.world.FireMode, 1);
  EXPECT_EQ(BulletsInFlight(), 0);
  EXPECT_FLOAT_EQ(P().X, 100);
}

TEST_F(PlayerControlTest, MiddleButtonWalksToTheCursorAndAKeyCancelsTheOrder) {
  g.input.MouseMiddle = kTrue;
  g.input.CursorX = 210;
  g.input.CursorY = 110;
  PlayerControl(g);
  EXPECT_EQ(P().WalkDir, 0);
  EXPECT_FLOAT_EQ(P().WalkLeft, 100);
  EXPECT_EQ(P().TargetX, 210);
  EXPECT_EQ(P().TargetY, 110);
  Key(205);  // right arrow: one step, walk order gone
  PlayerControl(g);
  EXPECT_FLOAT_EQ(P().WalkLeft, 0);
  EXPECT_FLOAT_EQ(P().X, 101);
}

TEST_F(PlayerControlTest, RightClickStopsAndBombsOnlyWithFifteenRounds) {
  P().Ammo = 14;
  P().WalkLeft = 30;
  g.input.MouseRight = kTrue;
  PlayerControl(g);
  EXPECT_FLOAT_EQ(P().WalkLeft, 0);
  EXPECT_EQ(g.input.MouseRight, kFalse);
  EXPECT_EQ(P().Ammo, 14);
  EXPECT_EQ(g.world.AirRaidOn, kFalse);
  P().Ammo = 15;
  g.input.MouseRight = kTrue;
  PlayerControl(g);
  EXPECT_EQ(P().Ammo, 0);  // the bomb run takes its 15 rounds
}

TEST_F(PlayerControlTest, FireModeStepsAndBurstsSpendEvenTheLastRound) {
  for (int expected : {2, 3, 1, 2, 3}) {
    g.world.FireModeToggle = kTrue;
    PlayerControl(g);
    EXPECT_EQ(g.world.FireMode, expected);
    EXPECT_EQ(g.world.FireModeToggle, kFalse);
  }
  P().Ammo = 1;
  g.input.MouseLeft = kTrue;
  PlayerControl(g);
  EXPECT_EQ(BulletsInFlight(), 3);
  EXPECT_EQ(P().Ammo, -2);
  EXPECT_EQ(P().RechargeLeft, 15);
  SoldierPass(g);  // the pass clears the debt
  EXPECT_EQ(P().Ammo, 0);
  P().RechargeLeft = 0;
  PlayerControl(g);
  EXPECT_EQ(BulletsInFlight(), 3);  // nothing left to fire
}

TEST_F(PlayerControlTest, ShotsNearAnEnemyEarnProximityExperience) {
  g.input.MouseLeft = kTrue;
  g.world.NearestEnemyDist = 100;
  PlayerControl(g);
  EXPECT_EQ(P().ProxExp, 0);
  P().RechargeLeft = 0;
  g.world.NearestEnemyDist = 10;
  PlayerControl(g);
  EXPECT_EQ(P().ProxExp, 4);
}

TEST_F(PlayerControlTest, KeysMoveAlongTheAxesOrRelativeToTheFacing) {
  Key(30);   // A: left
  Key(200);  // up arrow
  PlayerControl(g);
  EXPECT_FLOAT_EQ(P().X, 99);
  EXPECT_FLOAT_EQ(P().Y, 99);
  Key(32);  // D cancels A
  PlayerControl(g);
  EXPECT_FLOAT_EQ(P().X, 99);
  EXPECT_FLOAT_EQ(P().Y, 98);

  g.input.KeyState.fill(0);
  g.options.OptMovementReal = 8;
  P().X = 100, P().Y = 100;
  P().Facing = 360;  // wrapped to 0 before moving
  Key(17);  // W: toward the facing
  PlayerControl(g);
  EXPECT_EQ(P().Facing, 0);
  EXPECT_NEAR(P().X, 101, 1e-5);
  EXPECT_NEAR(P().Y, 100, 1e-5);
  g.input.KeyState.fill(0);
  Key(32);  // D: facing + 90, downward
  PlayerControl(g);
  EXPECT_NEAR(P().X, 101, 1e-5);
  EXPECT_NEAR(P().Y, 101, 1e-5);
}

}  // namespace
}  // namespace vorlan::testing
