#include <gtest/gtest.h>

#include <string>

#include "game/RenderSettings.h"
#include "game/objects/Spaceship.h"

namespace voidskirmish::game::objects {
namespace {

const std::string DIED = "Player died => Game is over!\nPlease Restart with ENTER or exit the game with ESC\n";

class DamageTest : public ::testing::Test {
 protected:
  // The console output of one decrease.
  std::string decrease(float amount) {
    ::testing::internal::CaptureStdout();
    ship.decreaseLife(amount, &settings);
    return ::testing::internal::GetCapturedStdout();
  }

  Spaceship ship{glm::vec3(0.0f), glm::vec3(0.0f), nullptr};
  RenderSettings settings;
};

TEST_F(DamageTest, ChangeLinePrintsBeforeAndAfterOnlyWhileTheSettingIsOn) {
  settings.lifePointsChanges = true;
  EXPECT_EQ(decrease(1.0f), "Enemy life points decreased from 10 to 9\n");
  EXPECT_EQ(decrease(0.5f), "Enemy life points decreased from 9 to 8.5\n");
  settings.lifePointsChanges = false;
  EXPECT_EQ(decrease(1.0f), "");
  EXPECT_FLOAT_EQ(ship.lifePoints, 7.5f);
  EXPECT_TRUE(ship.alive);
}

TEST_F(DamageTest, GoingBelowZeroKillsWithTheDeathLineAfterTheChangeLine) {
  settings.lifePointsChanges = true;
  ship.lifePoints = 0.25f;
  EXPECT_EQ(decrease(0.5f), "Enemy life points decreased from 0.25 to -0.25\n" + DIED);
  EXPECT_FLOAT_EQ(ship.lifePoints, 0.0f);
  EXPECT_FALSE(ship.alive);
  // A dead ship ignores damage without a word.
  EXPECT_EQ(decrease(1.0f), "");
  EXPECT_FLOAT_EQ(ship.lifePoints, 0.0f);
}

TEST_F(DamageTest, ExactlyZeroLeavesTheShipAliveUntilTheNextDecrease) {
  ship.lifePoints = 1.0f;
  EXPECT_EQ(decrease(1.0f), "");
  EXPECT_FLOAT_EQ(ship.lifePoints, 0.0f);
  EXPECT_TRUE(ship.alive);
  EXPECT_FALSE(ship.hasLife());
  EXPECT_EQ(decrease(0.003f), DIED);
  EXPECT_FALSE(ship.alive);
}

}  // namespace
}  // namespace voidskirmish::game::objects
