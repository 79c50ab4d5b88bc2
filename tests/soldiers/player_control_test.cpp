#include "soldiers/player_control.h"

#include <tuple>

#include "soldiers/battle_fixture.h"
#include "soldiers/soldier_pass.h"

namespace vorlan::testing {
namespace {

class PlayerControlTest : public BattleTest {
 protected:
  PlayerControlTest() { Put(0, 100, 100).Ammo = 20; }
  void Press(std::initializer_list<int> scanCodes) {
    for (int code : scanCodes) g.input.KeyState[code] = 0x80;
  }
};

TEST_F(PlayerControlTest, MiddleButtonWalksToTheCursorAndRightClickBombsWithFifteenRounds) {
  g.input.MouseMiddle = kTrue, g.input.CursorX = 210, g.input.CursorY = 110;
  PlayerControl(g);
  EXPECT_EQ(std::tuple(P().WalkDir, P().WalkLeft, P().TargetX), std::tuple(0, 100, 210));
  g.input.MouseMiddle = kFalse, g.input.MouseRight = kTrue;
  P().Ammo = 15;
  PlayerControl(g);
  EXPECT_EQ(P().Ammo, 0);  // the bomb run takes its 15 rounds
}

TEST_F(PlayerControlTest, ABurstSpendsEvenTheLastRound) {
  g.world.FireMode = 3;
  P().Ammo = 1;
  g.input.MouseLeft = kTrue;
  g.world.NearestEnemyDist = 10;  // an enemy close by: courage under fire
  PlayerControl(g);
  EXPECT_EQ(BulletsInFlight(), 3);
  EXPECT_EQ(std::tuple(P().Ammo, P().RechargeLeft, P().ProxExp), std::tuple(-2, 15, 4));
  SoldierPass(g);  // the pass clears the debt
  EXPECT_EQ(P().Ammo, 0);
  P().RechargeLeft = 0;
  PlayerControl(g);
  EXPECT_EQ(BulletsInFlight(), 3);
}

TEST_F(PlayerControlTest, KeysMoveAlongTheAxesOrRelativeToTheFacingAndCancelWalking) {
  P().WalkLeft = 50;
  Press({30, 200, 32});  // A (left), the up arrow, and D, which cancels A
  PlayerControl(g);
  EXPECT_EQ(std::tuple(P().X, P().Y, P().WalkLeft), std::tuple(100, 99, 0));

  g.input.KeyState.fill(0);
  g.options.OptMovementReal = 8;
  P().Facing = 360;  // wrapped to 0 before moving
  Press({17, 32});   // W: toward the facing; D: facing + 90, downward
  PlayerControl(g);
  EXPECT_EQ(P().Facing, 0);
  EXPECT_NEAR(P().X, 101, 1e-5);
  EXPECT_NEAR(P().Y, 100, 1e-5);
}

}  // namespace
}  // namespace vorlan::testing
