#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

#include "game/objects/Spaceship.h"
#include "WorldFixture.h"

namespace voidskirmish::game::objects {
namespace {

using testing::shipPose;

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance = 1e-4f) {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "column " << c << " row " << r;
    }
  }
}

void fly(Spaceship& ship, float deltaTime, int frames) {
  for (int i = 0; i < frames; ++i) {
    ship.update(deltaTime);
  }
}

// The hull's largest |x| among the vertices in the last fifth of its length towards −Z (side −1) or +Z (+1).
float halfWidthAtEnd(const Spaceship& ship, float side) {
  float zMin = INFINITY, zMax = -INFINITY;
  for (std::size_t i = 2; i < ship.positions.size(); i += 3) {
    zMin = std::min(zMin, ship.positions[i]);
    zMax = std::max(zMax, ship.positions[i]);
  }
  const float reach = 0.2f * (zMax - zMin);
  float halfWidth = 0.0f;
  for (std::size_t i = 0; i < ship.positions.size(); i += 3) {
    const float z = ship.positions[i + 2];
    if (side < 0.0f ? z < zMin + reach : z > zMax - reach) {
      halfWidth = std::max(halfWidth, std::abs(ship.positions[i]));
    }
  }
  return halfWidth;
}

class FlightTest : public ::testing::Test {
 protected:
  Spaceship ship{glm::vec3(0.0f), glm::vec3(0.0f), nullptr};

  void holdForward() {
    ship.thrustForward = true;
    ship.thrustBackward = false;
    ship.thrust = ship.thrustAcceleration;
  }
};

TEST_F(FlightTest, ForwardThrustReaches120WithinTwoSecondsThenClamps) {
  holdForward();
  fly(ship, 0.1f, 10);
  EXPECT_NEAR(ship.speed, 60.0f, 1e-3f);
  fly(ship, 0.1f, 15);
  EXPECT_FLOAT_EQ(ship.speed, 120.0f);
  // Forward is the ship's −Z: at 120 units per second and scale 2, one 0.1 s frame covers 24 world units.
  const float zBefore = ship.position().z;
  ship.update(0.1f);
  EXPECT_NEAR(ship.position().z - zBefore, -24.0f, 1e-3f);
}

TEST_F(FlightTest, ReleasedThrustDecaysToAboutFortyPercentPerSecondAt60Fps) {
  ship.speed = 120.0f;
  fly(ship, 1.0f / 60.0f, 60);
  EXPECT_NEAR(ship.speed / 120.0f, 0.404f, 0.002f);
}

TEST_F(FlightTest, BackwardThrustWhileFlyingForwardBrakesThenOnlyThrustActs) {
  ship.speed = 100.0f;
  ship.thrustBackward = true;
  ship.thrust = -ship.thrustAcceleration;
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, 100.0f * 0.91f - 6.0f, 1e-3f);
  while (ship.speed > 0.0f) {
    ship.update(0.1f);
  }
  // Once reversed, nothing damps it: exactly 6 per frame until the clamp.
  const float reversed = ship.speed;
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, reversed - 6.0f, 1e-3f);
  fly(ship, 0.1f, 30);
  EXPECT_FLOAT_EQ(ship.speed, -120.0f);
}

TEST_F(FlightTest, OppositeTurnKeyStopsTheTurnAtOnceThenTurnsTheOtherWay) {
  ship.yawRate = 1.0f;
  ship.yawRight = true;
  ship.yawAcceleration = -ship.turnAcceleration;
  ship.update(0.1f);
  EXPECT_NEAR(ship.yawRate, -0.05f, 1e-6f);

  ship.pitchRate = -1.5f;
  ship.pitchUp = true;
  ship.pitchAcceleration = ship.turnAcceleration;
  ship.update(0.1f);
  EXPECT_NEAR(ship.pitchRate, 0.05f, 1e-6f);
}

TEST_F(FlightTest, HeldTurnKeyBanksIntoTheTurnAndRaisesTheRateUpToTheLimit) {
  ship.yawLeft = true;
  ship.yawAcceleration = ship.turnAcceleration;
  ship.update(0.1f);
  // 12.5 degrees of roll per second: a left turn lifts the right wing.
  EXPECT_NEAR(ship.modelMatrix[0].y, 2.0f * std::sin(glm::radians(12.5f * 0.1f)), 1e-5f);
  fly(ship, 0.5f, 20);
  EXPECT_FLOAT_EQ(ship.yawRate, 2.0f);
}

TEST_F(FlightTest, CollisionLockBlocksKeysButDampingActsUntilTheLockRunsOut) {
  holdForward();
  ship.yawLeft = true;
  ship.yawAcceleration = ship.turnAcceleration;
  ship.speed = 10.0f;
  ship.collided = true;
  ship.collisionTimer = 3.0f;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed, 10.0f * (1.0f - 0.9f * 0.125f));
  EXPECT_FLOAT_EQ(ship.yawRate, 0.0f);
  fly(ship, 0.125f, 22);
  EXPECT_TRUE(ship.collided);
  ship.update(0.125f);
  EXPECT_FALSE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, ship.collisionDuration);
  const float free = ship.speed;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed, free + 7.5f);
}

TEST_F(FlightTest, ShipWithoutLifeDriftsAndSlowsWhateverTheKeys) {
  ship.lifePoints = 0.0f;
  ship.speed = 50.0f;
  holdForward();
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, 45.5f, 1e-4f);
  EXPECT_LT(ship.position().z, -9.0f);
  // Without life there is no clamp either.
  ship.speed = 500.0f;
  ship.update(0.01f);
  EXPECT_GT(ship.speed, 120.0f);
}

TEST_F(FlightTest, LongFrameStopsMotionInsteadOfReversingIt) {
  ship.speed = 100.0f;
  ship.yawRate = 1.0f;
  ship.pitchRate = -1.0f;
  ship.update(2.0f);
  EXPECT_FLOAT_EQ(ship.speed, 0.0f);
  EXPECT_FLOAT_EQ(ship.yawRate, 0.0f);
  EXPECT_FLOAT_EQ(ship.pitchRate, 0.0f);
  // The gun's kick runs down within a second.
  ship.recoil = 1.0f;
  ship.update(0.25f);
  EXPECT_FLOAT_EQ(ship.recoil, 0.75f);
}

TEST_F(FlightTest, BounceBackPutsHullCameraAndGunBackAtHalfSpeedReversed) {
  holdForward();
  ship.speed = 40.0f;
  ship.update(0.1f);
  const glm::mat4 before = ship.previousModelMatrix;
  const float speed = ship.speed;
  ship.bounceBack();
  EXPECT_EQ(ship.modelMatrix, before);
  EXPECT_EQ(ship.camera->modelMatrix, before * ship.cameraOffset);
  EXPECT_EQ(ship.gunMatrix, before);
  EXPECT_FLOAT_EQ(ship.speed, -0.5f * speed);
  EXPECT_TRUE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, 3.0f);
  EXPECT_EQ(glm::vec3(ship.boundingSphere), glm::vec3(before[3]));
}

TEST_F(FlightTest, CameraAndGunFollowEveryTransform) {
  ship.rotateY(0.7f);
  ship.moveZ(-5.0f);
  ship.rotateX(0.2f);
  EXPECT_EQ(ship.camera->modelMatrix, ship.modelMatrix * ship.cameraOffset);
  EXPECT_EQ(ship.gunMatrix, ship.modelMatrix);
  expectMatrixNear(ship.getViewMatrix() * ship.camera->modelMatrix, glm::mat4(1.0f));
  // Camera half a unit up and 1.1 ahead in the ship's frame, doubled by the ship's scale.
  const Spaceship fresh(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  EXPECT_EQ(glm::vec3(fresh.camera->modelMatrix[3]), glm::vec3(0.0f, 1.0f, -2.2f));
}

TEST_F(FlightTest, FreshShipFiresAlongWorldMinusZAndConstructionAnglesAreDegrees) {
  const Spaceship straight(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(0.0f), nullptr);
  EXPECT_EQ(straight.modelMatrix, shipPose(glm::vec3(1.0f, 2.0f, 3.0f)));
  const collision::Line line = straight.getLaserLine();
  EXPECT_EQ(line.start, glm::vec3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(line.end - line.start, glm::vec3(0.0f, 0.0f, -1.0f));
  // The hull model is turned so that its pointed nose, not its wide tail, leads along −Z.
  EXPECT_LT(halfWidthAtEnd(straight, -1.0f), 0.5f * halfWidthAtEnd(straight, 1.0f));

  const Spaceship turned(glm::vec3(0.0f), glm::vec3(0.0f, 90.0f, 0.0f), nullptr);
  expectMatrixNear(turned.modelMatrix, shipPose(glm::vec3(0.0f), glm::radians(90.0f)));
  // A quarter turn left about Y points the nose along world −X.
  const glm::vec3 direction = turned.getLaserLine().end - turned.getLaserLine().start;
  EXPECT_NEAR(direction.x, -1.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::game::objects
