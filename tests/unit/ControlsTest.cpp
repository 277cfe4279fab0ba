#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "game/Controls.h"
#include "game/HelpText.h"
#include "game/Random.h"
#include "game/SplitLayout.h"
#include "game/objects/LaserBeam.h"
#include "render/ParticlePool.h"

namespace voidskirmish::game {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    restartRandomSequence();
    match = std::make_unique<Match>(Match::Programs{});
  }
  static void TearDownTestSuite() { match.reset(); }
  void SetUp() override {
    objects::laserBeams.clear();
    render::clearParticles();
    match->restart();
  }

  // What one key press prints.
  std::string press(int key) {
    out.str("");
    controls.keyPressed(key);
    return out.str();
  }

  static inline std::unique_ptr<Match> match;
  RenderSettings settings;
  std::ostringstream out;
  Controls controls{*match, settings, out};
};

TEST_F(ControlsTest, HelpShowsTheDefaultsAtStartAndTheCurrentValuesOnF1) {
  const std::string help = helpText(settings);
  EXPECT_EQ(help.rfind("\nHELP:\n----- Controls -----------\nSHIP1\n\tW: move forward\n", 0), 0u);
  EXPECT_NE(help.find("\tKP 8: rotate down\n\tKP 4: rotate up\n\tKP 0: laser gun\n"), std::string::npos);
  EXPECT_NE(help.find("ENTER: set all ships' lifes to max\n"), std::string::npos);
  const std::string functions =
      "F1: Help\n"
      "F2: Frame time on/off | Current: off\n"
      "F3: Wire frame on/off | Current: off\n"
      "F4: Texture sampling quality (nearest neighbor/bilinear) | Current: billinear\n"
      "F5: Mip mapping quality (off/nearestneighbor/linear) | Current: linear\n"
      "F8: View frustum culling on/off | Current: off\n"
      "F9: Blending on/off | Current: on\n"
      "F10: Life points outside of boundary sphere on/off | Current: off\n\n";
  EXPECT_EQ(help.substr(help.size() - std::min(help.size(), functions.size())), functions);
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 38);
  EXPECT_TRUE(settings.textures);
  for (const char* name : {samplingModeName(2), samplingModeName(-1), mipmapModeName(3)}) {
    EXPECT_STREQ(name, "unknown");
  }

  press(GLFW_KEY_F3);
  press(GLFW_KEY_F5);
  const std::string current = press(GLFW_KEY_F1);
  EXPECT_EQ(current, helpText(settings));
  EXPECT_NE(current.find("Wire frame on/off | Current: on\n"), std::string::npos);
  EXPECT_NE(current.find("(off/nearestneighbor/linear) | Current: off\n"), std::string::npos);
}

TEST_F(ControlsTest, EachToggleFlipsItsSwitchAndConfirmsTheNewValue) {
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
}

TEST_F(ControlsTest, SilentAndIgnoredKeysPrintNothing) {
  EXPECT_EQ(press(GLFW_KEY_F2), "");
  EXPECT_TRUE(settings.frameTime);
  EXPECT_EQ(press(GLFW_KEY_P), "");
  EXPECT_TRUE(controls.mouseSteering);
  for (int key : {GLFW_KEY_F6, GLFW_KEY_F7, GLFW_KEY_Q, GLFW_KEY_KP_5}) {
    EXPECT_EQ(press(key), "");
  }
  controls.keyReleased(GLFW_KEY_1);
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(settings.bloom);
}

TEST_F(ControlsTest, FlightKeysSetOneAxisAtATimeAndFireKeysShootOncePerPress) {
  objects::Spaceship& ship1 = *match->ship1;
  press(GLFW_KEY_W);
  EXPECT_TRUE(ship1.thrustForward);
  EXPECT_FLOAT_EQ(ship1.thrust, 60.0f);
  press(GLFW_KEY_S);  // reverses at once
  EXPECT_FALSE(ship1.thrustForward);
  EXPECT_TRUE(ship1.thrustBackward);
  EXPECT_FLOAT_EQ(ship1.thrust, -60.0f);
  controls.keyReleased(GLFW_KEY_W);  // leaves backward mode alone
  EXPECT_TRUE(ship1.thrustBackward);
  controls.keyReleased(GLFW_KEY_S);
  EXPECT_FALSE(ship1.thrustBackward);
  EXPECT_FLOAT_EQ(ship1.thrust, -60.0f);

  objects::Spaceship& ship2 = *match->ship2;
  press(GLFW_KEY_KP_4);
  EXPECT_TRUE(ship2.pitchUp);
  EXPECT_FLOAT_EQ(ship2.pitchAcceleration, 0.5f);
  press(GLFW_KEY_RIGHT);
  EXPECT_TRUE(ship2.yawRight);
  EXPECT_FLOAT_EQ(ship2.yawAcceleration, -0.5f);
  EXPECT_FALSE(ship1.yawRight);
  controls.keyReleased(GLFW_KEY_KP_4);
  controls.keyReleased(GLFW_KEY_RIGHT);

  press(GLFW_KEY_SPACE);
  controls.keyReleased(GLFW_KEY_SPACE);
  press(GLFW_KEY_KP_0);
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
  controls.mouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
  EXPECT_EQ(objects::laserBeams.size(), 3u);
}

TEST_F(ControlsTest, EnterRefillsBothShipsWhereTheyStand) {
  match->ship1->lifePoints = 0.0f;
  match->ship1->alive = false;
  match->ship2->lifePoints = 4.5f;
  const glm::mat4 pose = match->ship1->modelMatrix;
  press(GLFW_KEY_ENTER);
  EXPECT_FLOAT_EQ(match->ship1->lifePoints, 10.0f);
  EXPECT_TRUE(match->ship1->alive);
  EXPECT_FLOAT_EQ(match->ship2->lifePoints, 10.0f);
  EXPECT_EQ(match->ship1->modelMatrix, pose);
}

TEST_F(ControlsTest, PauseIgnoresFlightFireSteeringAndRestartButNotReleasesOrToggles) {
  objects::Spaceship& ship1 = *match->ship1;
  press(GLFW_KEY_W);
  EXPECT_EQ(press(GLFW_KEY_BACKSPACE), "Game paused\n");
  ship1.lifePoints = 3.0f;
  const glm::mat4 pose = ship1.modelMatrix;
  controls.mouseSteering = true;
  EXPECT_FALSE(controls.cursorMoved(900, 100));
  for (int key : {GLFW_KEY_A, GLFW_KEY_UP, GLFW_KEY_SPACE, GLFW_KEY_KP_0, GLFW_KEY_ENTER}) {
    EXPECT_EQ(press(key), "");
  }
  controls.mouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
  controls.keyReleased(GLFW_KEY_W);
  EXPECT_FALSE(ship1.yawLeft || match->ship2->thrustForward || ship1.thrustForward);
  EXPECT_TRUE(objects::laserBeams.empty());
  EXPECT_FLOAT_EQ(ship1.lifePoints, 3.0f);
  EXPECT_EQ(ship1.modelMatrix, pose);
  EXPECT_EQ(press(GLFW_KEY_F3), "Wireframe on\n");
  press(GLFW_KEY_F3);

  controls.mouseSteering = false;
  EXPECT_EQ(press(GLFW_KEY_PAUSE), "Game resumed\n");
  press(GLFW_KEY_SPACE);
  EXPECT_EQ(objects::laserBeams.size(), 1u);
}

TEST_F(ControlsTest, MouseTurnsTheTopShipByPixelsFromTheCentreWhileItHasLife) {
  const SplitLayout layout = SplitLayout::forWindow(1024, 768);
  controls.setWindowCentre(layout.centreX, layout.centreY);
  EXPECT_FALSE(controls.cursorMoved(900, 100));  // steering off: nothing

  press(GLFW_KEY_P);
  objects::Spaceship& ship = *match->ship1;
  const auto forward = [&] { return ship.getLaserLine().end - ship.getLaserLine().start; };
  const glm::vec3 before = forward();
  EXPECT_TRUE(controls.cursorMoved(612, 384));  // 100 px right: −0.1 rad about Y, nothing about X
  EXPECT_NEAR(glm::dot(before, forward()), std::cos(0.1f), 1e-5);
  EXPECT_NEAR(forward().x, std::sin(0.1f), 1e-5);
  EXPECT_NEAR(forward().y, before.y, 1e-6);

  const glm::mat4 pose = ship.modelMatrix;
  EXPECT_TRUE(controls.cursorMoved(512, 384));  // at the centre: only re-centres
  EXPECT_EQ(ship.modelMatrix, pose);

  ship.lifePoints = 0.0f;  // switches itself off for a ship without life
  EXPECT_FALSE(controls.cursorMoved(700, 300));
  EXPECT_FALSE(controls.mouseSteering);
  EXPECT_EQ(ship.modelMatrix, pose);
  press(GLFW_KEY_ENTER);  // refills life but not the switch
  EXPECT_FALSE(controls.mouseSteering);
  ship.rotateY(0.1f);  // undo for the other tests
}

TEST(SplitLayoutTest, HalvesTheWindowWithTheTopRowLeftOverOnOddHeights) {
  const SplitLayout even = SplitLayout::forWindow(1024, 768);
  EXPECT_EQ(even.viewports[0].y, 384);
  EXPECT_EQ(even.viewports[0].height, 384);
  EXPECT_EQ(even.viewports[1].y, 0);
  EXPECT_EQ(even.viewports[1].width, 1024);
  EXPECT_NEAR(even.aspectRatio, 1024.0f / 384.0f, 1e-4);
  EXPECT_EQ(glm::ivec2(even.centreX, even.centreY), glm::ivec2(512, 384));

  const SplitLayout odd = SplitLayout::forWindow(1024, 767);
  EXPECT_EQ(glm::ivec3(odd.viewports[0].y, odd.viewports[0].height, odd.viewports[1].height), glm::ivec3(383));
}

}  // namespace
}  // namespace voidskirmish::game
