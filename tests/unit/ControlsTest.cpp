#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <sstream>

#include "game/Controls.h"
#include "game/HelpText.h"
#include "game/SplitLayout.h"
#include "WorldFixture.h"

namespace voidskirmish::testing {
namespace {

using game::RenderSettings;

// Keys on a match of their own; out collects what they print.
class ControlsTest : public MatchTest {
 protected:
  std::string press(int key) {
    out.str("");
    controls.keyPressed(key);
    return out.str();
  }

  std::ostringstream out;
  game::Controls controls{*match, settings, out};
};

// The help's wording is the console's, checked byte for byte end to end; here F1 must show the current values.
TEST_F(ControlsTest, HelpOnF1ShowsTheCurrentValuesAndUnknownModesHaveAName) {
  press(GLFW_KEY_F3);
  const std::string help = press(GLFW_KEY_F1);
  EXPECT_EQ(help, game::helpText(settings));
  EXPECT_NE(help, game::helpText(RenderSettings{}));
  for (const char* name : {game::samplingModeName(2), game::samplingModeName(-1), game::mipmapModeName(3)}) {
    EXPECT_STREQ(name, "unknown");
  }
}

TEST_F(ControlsTest, EachToggleFlipsItsSwitchAndConfirmsTheNewValueWhileOtherKeysStaySilent) {
  const struct {
    int key;
    bool RenderSettings::*flag;
    std::string line;  // after the first press from the defaults
  } cases[] = {
      {GLFW_KEY_1, &RenderSettings::bloom, "Bloom off\n"},
      {GLFW_KEY_2, &RenderSettings::contours, "Contours off\n"},
      {GLFW_KEY_3, &RenderSettings::normalMapping, "Normal mapping off\n"},
      {GLFW_KEY_4, &RenderSettings::particles, "Particle effects off\n"},
      {GLFW_KEY_5, &RenderSettings::celShading, "Cel shading off\n"},
      {GLFW_KEY_F2, &RenderSettings::frameTime, ""},
      {GLFW_KEY_F3, &RenderSettings::wireframe, "Wireframe on\n"},
      {GLFW_KEY_F8, &RenderSettings::frustumCulling, "Frustum culling on\n"},
      {GLFW_KEY_F9, &RenderSettings::blending, "Blending off\n"},
      {GLFW_KEY_F10, &RenderSettings::lifePointsChanges, "Life points changes on\n"},
  };
  for (const auto& c : cases) {
    const bool before = settings.*c.flag;
    EXPECT_EQ(press(c.key), c.line);
    EXPECT_NE(settings.*c.flag, before) << c.line;
    if (c.key == GLFW_KEY_3) {
      EXPECT_FALSE(match->asteroids->hasNormalMap);  // the switch reaches the asteroid model
    }
    press(c.key);
    EXPECT_EQ(settings.*c.flag, before) << c.line;
  }
  EXPECT_TRUE(match->asteroids->hasNormalMap);

  EXPECT_EQ(press(GLFW_KEY_F4), "Texture sampling quality nearest neighbor\n");
  EXPECT_EQ(press(GLFW_KEY_F4), "Texture sampling quality billinear\n");
  EXPECT_EQ(press(GLFW_KEY_F5), "Mipmap mode off\n");
  EXPECT_EQ(press(GLFW_KEY_F5), "Mipmap mode nearest neighbor\n");
  EXPECT_EQ(press(GLFW_KEY_F5), "Mipmap mode linear\n");

  for (int key : {GLFW_KEY_P, GLFW_KEY_F6, GLFW_KEY_F7, GLFW_KEY_Q, GLFW_KEY_KP_5}) {
    EXPECT_EQ(press(key), "");
  }
  EXPECT_TRUE(controls.mouseSteering);
  controls.keyReleased(GLFW_KEY_1);
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(settings.bloom);
}

TEST_F(ControlsTest, FlightKeysSetOneAxisAtATimeAndFireKeysShootOncePerPress) {
  press(GLFW_KEY_W);
  EXPECT_TRUE(ship1().thrustForward && ship1().thrust == 60.0f);
  press(GLFW_KEY_S);  // reverses at once
  EXPECT_TRUE(!ship1().thrustForward && ship1().thrustBackward && ship1().thrust == -60.0f);
  controls.keyReleased(GLFW_KEY_W);  // leaves backward mode alone
  EXPECT_TRUE(ship1().thrustBackward);
  controls.keyReleased(GLFW_KEY_S);  // clears its own flag and keeps the value
  EXPECT_TRUE(!ship1().thrustBackward && ship1().thrust == -60.0f);
  press(GLFW_KEY_KP_4);
  press(GLFW_KEY_RIGHT);
  EXPECT_TRUE(ship2().pitchUp && ship2().pitchAcceleration == 0.5f);
  EXPECT_TRUE(ship2().yawRight && ship2().yawAcceleration == -0.5f && !ship1().yawRight);

  press(GLFW_KEY_SPACE);
  controls.keyReleased(GLFW_KEY_SPACE);
  press(GLFW_KEY_KP_0);
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
  controls.mouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
  EXPECT_EQ(game::objects::laserBeams.size(), 3u);
}

TEST_F(ControlsTest, PauseIgnoresFlightFireSteeringAndRestartButNotReleasesOrToggles) {
  press(GLFW_KEY_W);
  EXPECT_EQ(press(GLFW_KEY_BACKSPACE), "Game paused\n");
  ship1().lifePoints = 3.0f;
  const glm::mat4 pose = ship1().modelMatrix;
  controls.mouseSteering = true;
  EXPECT_FALSE(controls.cursorMoved(900, 100));
  for (int key : {GLFW_KEY_A, GLFW_KEY_UP, GLFW_KEY_SPACE, GLFW_KEY_KP_0, GLFW_KEY_ENTER}) {
    EXPECT_EQ(press(key), "");
  }
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
  controls.keyReleased(GLFW_KEY_W);
  EXPECT_FALSE(ship1().yawLeft || ship2().thrustForward || ship1().thrustForward);
  EXPECT_TRUE(game::objects::laserBeams.empty());
  EXPECT_FLOAT_EQ(ship1().lifePoints, 3.0f);
  EXPECT_EQ(ship1().modelMatrix, pose);
  EXPECT_EQ(press(GLFW_KEY_F3), "Wireframe on\n");

  controls.mouseSteering = false;
  EXPECT_EQ(press(GLFW_KEY_PAUSE), "Game resumed\n");
  press(GLFW_KEY_SPACE);
  EXPECT_EQ(game::objects::laserBeams.size(), 1u);
}

TEST_F(ControlsTest, MouseTurnsTheTopShipWhileItHasLifeAndEnterRefillsBothShipsWhereTheyStand) {
  controls.setWindowCentre(512, 384);
  EXPECT_FALSE(controls.cursorMoved(900, 100));  // steering off: nothing

  press(GLFW_KEY_P);
  const auto forward = [&] { return ship1().getLaserLine().end - ship1().getLaserLine().start; };
  EXPECT_TRUE(controls.cursorMoved(612, 384));  // 100 px right: 0.1 rad to the right about Y, nothing about X
  EXPECT_NEAR(glm::distance(forward(), glm::vec3(0.0998334f, 0.0f, -0.9950042f)), 0.0f, 1e-5f);  // sin, −cos 0.1
  const glm::mat4 pose = ship1().modelMatrix;
  EXPECT_TRUE(controls.cursorMoved(512, 384));  // at the centre: only re-centres
  EXPECT_EQ(ship1().modelMatrix, pose);

  ship1().lifePoints = 0.0f;  // switches itself off for a ship without life
  ship1().alive = false;
  ship2().lifePoints = 4.5f;
  EXPECT_FALSE(controls.cursorMoved(700, 300));
  EXPECT_FALSE(controls.mouseSteering);
  EXPECT_EQ(ship1().modelMatrix, pose);
  press(GLFW_KEY_ENTER);  // refills life but not the switch
  EXPECT_TRUE(ship1().lifePoints == 10.0f && ship1().alive && ship2().lifePoints == 10.0f);
  EXPECT_EQ(ship1().modelMatrix, pose);
  EXPECT_FALSE(controls.mouseSteering);
}

TEST(SplitLayoutTest, HalvesTheWindowWithTheTopRowLeftOverOnOddHeights) {
  const game::SplitLayout even = game::SplitLayout::forWindow(1024, 768);
  EXPECT_EQ(glm::ivec4(even.viewports[0].y, even.viewports[0].height, even.viewports[1].y, even.viewports[1].width),
            glm::ivec4(384, 384, 0, 1024));
  EXPECT_NEAR(even.aspectRatio, 1024.0f / 384.0f, 1e-4);
  EXPECT_EQ(glm::ivec2(even.centreX, even.centreY), glm::ivec2(512, 384));

  const game::SplitLayout odd = game::SplitLayout::forWindow(1024, 767);
  EXPECT_EQ(glm::ivec3(odd.viewports[0].y, odd.viewports[0].height, odd.viewports[1].height), glm::ivec3(383));
}

}  // namespace
}  // namespace voidskirmish::testing
