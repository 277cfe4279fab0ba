#include <gtest/gtest.h>

#include <glm/ext/matrix_relational.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

#include "game/objects/Spaceship.h"
#include "WorldFixture.h"

namespace voidskirmish::game::objects {
namespace {

bool near(const glm::mat4& a, const glm::mat4& b) { return glm::all(glm::equal(a, b, 1e-4f)); }

class FlightTest : public ::testing::Test {
 protected:
  void fly(float deltaTime, int frames) {
    for (int i = 0; i < frames; ++i) {
      ship.update(deltaTime);
    }
  }
  void holdForward() {
    ship.thrustForward = true;
    ship.thrust = ship.thrustAcceleration;
  }
  void holdLeft() {
    ship.yawLeft = true;
    ship.yawAcceleration = ship.turnAcceleration;
  }

  Spaceship ship{glm::vec3(0.0f), glm::vec3(0.0f), nullptr};
};

TEST_F(FlightTest, ForwardThrustReaches120WithinTwoSecondsThenClampsAndReleasedDecays) {
  holdForward();
  fly(0.1f, 10);
  EXPECT_NEAR(ship.speed, 60.0f, 1e-3f);
  fly(0.1f, 15);
  EXPECT_FLOAT_EQ(ship.speed, 120.0f);
  // Forward is the ship's −Z: 120 units per second at scale 2 covers 24 world units in 0.1 s.
  const float zBefore = ship.position().z;
  ship.update(0.1f);
  EXPECT_NEAR(ship.position().z - zBefore, -24.0f, 1e-3f);

  ship.thrustForward = false;  // about 40 % left after a second at 60 frames per second
  fly(1.0f / 60.0f, 60);
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
  const float reversed = ship.speed;  // once reversed nothing damps it: 6 per frame until the clamp
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, reversed - 6.0f, 1e-3f);
  fly(0.1f, 30);
  EXPECT_FLOAT_EQ(ship.speed, -120.0f);
}

TEST_F(FlightTest, TurnKeysStopAnOppositeTurnAtOnceAndBankIntoTheirOwn) {
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

  Spaceship fresh(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  fresh.yawLeft = true;
  fresh.yawAcceleration = fresh.turnAcceleration;
  fresh.update(0.1f);
  // 12.5 degrees of roll per second: a left turn lifts the right wing.
  EXPECT_NEAR(fresh.modelMatrix[0].y, 2.0f * std::sin(glm::radians(12.5f * 0.1f)), 1e-5f);
  for (int i = 0; i < 20; ++i) {
    fresh.update(0.5f);
  }
  EXPECT_FLOAT_EQ(fresh.yawRate, 2.0f);
}

TEST_F(FlightTest, CollisionLockBlocksKeysButDampingActsUntilTheLockRunsOut) {
  holdForward();
  holdLeft();
  ship.speed = 10.0f;
  ship.collided = true;
  ship.collisionTimer = 3.0f;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed, 10.0f * (1.0f - 0.9f * 0.125f));
  EXPECT_FLOAT_EQ(ship.yawRate, 0.0f);
  fly(0.125f, 22);
  EXPECT_TRUE(ship.collided);
  ship.update(0.125f);
  EXPECT_FALSE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, ship.collisionDuration);
  const float free = ship.speed;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed, free + 7.5f);
}

TEST_F(FlightTest, ShipWithoutLifeDriftsUnclampedAndLongFramesStopRatherThanReverse) {
  ship.lifePoints = 0.0f;
  ship.speed = 50.0f;
  holdForward();
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, 45.5f, 1e-4f);
  EXPECT_LT(ship.position().z, -9.0f);
  ship.speed = 500.0f;
  ship.update(0.01f);
  EXPECT_GT(ship.speed, 120.0f);

  Spaceship slow(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  slow.speed = 100.0f;
  slow.yawRate = 1.0f;
  slow.pitchRate = -1.0f;
  slow.update(2.0f);
  EXPECT_FLOAT_EQ(slow.speed, 0.0f);
  EXPECT_FLOAT_EQ(slow.yawRate, 0.0f);
  EXPECT_FLOAT_EQ(slow.pitchRate, 0.0f);
  slow.recoil = 1.0f;  // the gun's kick runs down within a second
  slow.update(0.25f);
  EXPECT_FLOAT_EQ(slow.recoil, 0.75f);
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

TEST_F(FlightTest, CameraAndGunFollowEveryTransformAndFreshShipsFireAlongTheirNose) {
  // Camera half a unit up and 1.1 ahead in the ship's frame, doubled by the ship's scale.
  EXPECT_EQ(glm::vec3(ship.camera->modelMatrix[3]), glm::vec3(0.0f, 1.0f, -2.2f));
  ship.rotateY(0.7f);
  ship.moveZ(-5.0f);
  ship.rotateX(0.2f);
  EXPECT_EQ(ship.camera->modelMatrix, ship.modelMatrix * ship.cameraOffset);
  EXPECT_EQ(ship.gunMatrix, ship.modelMatrix);
  EXPECT_TRUE(near(ship.getViewMatrix() * ship.camera->modelMatrix, glm::mat4(1.0f)));

  const Spaceship straight(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(0.0f), nullptr);
  EXPECT_EQ(straight.modelMatrix, testing::shipPose(glm::vec3(1.0f, 2.0f, 3.0f)));
  const collision::Line line = straight.getLaserLine();
  EXPECT_EQ(line.start, glm::vec3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(line.end - line.start, glm::vec3(0.0f, 0.0f, -1.0f));
  // Construction angles are degrees: a quarter turn left about Y points the nose along world −X.
  const Spaceship turned(glm::vec3(0.0f), glm::vec3(0.0f, 90.0f, 0.0f), nullptr);
  EXPECT_TRUE(near(turned.modelMatrix, testing::shipPose(glm::vec3(0.0f), glm::radians(90.0f))));
  EXPECT_NEAR((turned.getLaserLine().end - turned.getLaserLine().start).x, -1.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::game::objects
