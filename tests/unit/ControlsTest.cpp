#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <sstream>

#include "game/Controls.h"
#include "game/SplitLayout.h"
#include "WorldFixture.h"

// What keys and mouse do to the ships. Every console line they print, the toggles' and pause's included, and
// the keys that fire, restart or do nothing, are replayed in tests/replays (toggles, pause, rule-rounds).
namespace voidskirmish::testing {
namespace {

class ControlsTest : public MatchTest {
 protected:
  std::ostringstream out;
  game::Controls controls{*match, settings, out};
};

TEST_F(ControlsTest, FlightKeysSetOneAxisAtATimeAndPauseIgnoresThemAndTheMouseButNotTheirRelease) {
  controls.keyPressed(GLFW_KEY_W);
  controls.keyPressed(GLFW_KEY_S);  // reverses at once
  EXPECT_TRUE(!ship1().thrustForward && ship1().thrustBackward && ship1().thrust == -60.0f);
  controls.keyReleased(GLFW_KEY_W);  // leaves backward mode alone
  EXPECT_TRUE(ship1().thrustBackward);
  controls.keyReleased(GLFW_KEY_S);  // clears its own flag and keeps the value
  EXPECT_TRUE(!ship1().thrustBackward && ship1().thrust == -60.0f);
  controls.keyPressed(GLFW_KEY_KP_4);
  controls.keyPressed(GLFW_KEY_RIGHT);
  EXPECT_TRUE(ship2().pitchUp && ship2().pitchAcceleration == 0.5f);
  EXPECT_TRUE(ship2().yawRight && ship2().yawAcceleration == -0.5f && !ship1().yawRight);

  // Paused, presses and the mouse are ignored, but a release still lets go.
  controls.keyPressed(GLFW_KEY_W);
  controls.keyPressed(GLFW_KEY_BACKSPACE);
  controls.mouseSteering = true;
  const glm::mat4 pose = ship1().modelMatrix;
  EXPECT_FALSE(controls.cursorMoved(900, 100));
  controls.keyPressed(GLFW_KEY_A);
  controls.keyPressed(GLFW_KEY_UP);
  controls.keyReleased(GLFW_KEY_W);
  EXPECT_FALSE(ship1().yawLeft || ship2().thrustForward || ship1().thrustForward);
  EXPECT_EQ(ship1().modelMatrix, pose);
}

TEST_F(ControlsTest, MouseTurnsTheTopShipWhileItHasLifeAndEnterRefillsItWhereItStands) {
  controls.setWindowCentre(512, 384);
  EXPECT_FALSE(controls.cursorMoved(900, 100));  // steering off: nothing
  controls.keyPressed(GLFW_KEY_P);
  const auto nose = [&] { return ship1().getLaserLine().end - ship1().getLaserLine().start; };
  EXPECT_TRUE(controls.cursorMoved(612, 384));  // 100 px right: 0.1 rad to the right about Y, nothing about X
  EXPECT_NEAR(glm::distance(nose(), glm::vec3(0.0998334f, 0.0f, -0.9950042f)), 0.0f, 1e-5f);  // sin, −cos 0.1
  // 100 px up: 0.1 rad up about the ship's own X, already turned: the nose keeps its heading (cos 0.1 of it).
  EXPECT_TRUE(controls.cursorMoved(512, 284));
  EXPECT_NEAR(glm::distance(nose(), glm::vec3(0.0993347f, 0.0998334f, -0.9900333f)), 0.0f, 1e-5f);
  const glm::mat4 pose = ship1().modelMatrix;
  EXPECT_TRUE(controls.cursorMoved(512, 384));  // at the centre: only re-centres
  EXPECT_EQ(ship1().modelMatrix, pose);

  ship1().lifePoints = 0.0f;  // switches itself off for a ship without life
  EXPECT_FALSE(controls.cursorMoved(700, 300));
  EXPECT_FALSE(controls.mouseSteering);
  controls.keyPressed(GLFW_KEY_ENTER);  // refills life, but neither moves the ship nor turns the switch on
  EXPECT_EQ(ship1().modelMatrix, pose);
  EXPECT_TRUE(ship1().hasLife() && !controls.mouseSteering);
}

// Even sizes and the halves' placement show in tests/replays/flight.rec's resize.
TEST(SplitLayoutTest, OnOddHeightsTheTopRowIsLeftOver) {
  const game::SplitLayout odd = game::SplitLayout::forWindow(1024, 767);
  EXPECT_EQ(glm::ivec3(odd.viewports[0].y, odd.viewports[0].height, odd.viewports[1].height), glm::ivec3(383));
}

}  // namespace
}  // namespace voidskirmish::testing
