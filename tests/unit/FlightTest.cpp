#include <gtest/gtest.h>

#include <glm/ext/matrix_relational.hpp>
#include <glm/gtc/constants.hpp>

#include "game/objects/Spaceship.h"

// Worked numbers: thrust 60 per second², top speed 120, speed damping 0.9 and turn damping 0.7 per second,
// turn acceleration 0.5, top turn rate 2; the hull is scaled by 2, so a unit of speed covers 2 world units.
namespace voidskirmish::game::objects {
namespace {

bool near(const glm::mat4& a, const glm::mat4& b) { return glm::all(glm::equal(a, b, 1e-4f)); }
glm::vec3 place(const glm::mat4& m) { return glm::vec3(m[3]); }

class FlightTest : public ::testing::Test {
 protected:
  void fly(float deltaTime, int frames) {
    for (int i = 0; i < frames; ++i) {
      ship.update(deltaTime);
    }
  }
  void holdForward() {
    ship.thrustForward = true;
    ship.thrust = 60.0f;
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

  ship.thrustForward = false;  // 0.985 per frame at 60 frames per second: about 40 % left after a second
  fly(1.0f / 60.0f, 60);
  EXPECT_NEAR(ship.speed / 120.0f, 0.404f, 0.002f);
}

TEST_F(FlightTest, BackwardThrustWhileFlyingForwardBrakesThenOnlyThrustActs) {
  ship.speed = 100.0f;
  ship.thrustBackward = true;
  ship.thrust = -60.0f;
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed, 85.0f, 1e-3f);  // 9 % damped away, then 6 less
  while (ship.speed > 0.0f) {
    ship.update(0.1f);
  }
  const float reversed = ship.speed;  // once reversed nothing damps it: 6 per frame until the clamp
  ship.update(0.1f);
  EXPECT_NEAR(ship.speed - reversed, -6.0f, 1e-3f);
  fly(0.1f, 30);
  EXPECT_FLOAT_EQ(ship.speed, -120.0f);
}

TEST_F(FlightTest, TurnKeysStopAnOppositeTurnAtOnceAndBankIntoTheirOwn) {
  ship.yawRate = 1.0f;
  ship.yawRight = true;
  ship.yawAcceleration = -0.5f;
  ship.update(0.1f);
  EXPECT_NEAR(ship.yawRate, -0.05f, 1e-6f);
  ship.pitchRate = -1.5f;
  ship.pitchUp = true;
  ship.pitchAcceleration = 0.5f;
  ship.update(0.1f);
  EXPECT_NEAR(ship.pitchRate, 0.05f, 1e-6f);

  Spaceship fresh(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  fresh.yawLeft = true;
  fresh.yawAcceleration = 0.5f;
  fresh.update(0.1f);
  // 12.5 degrees of roll per second: in 0.1 s the right wing rises by 2 sin 1.25°.
  EXPECT_NEAR(fresh.modelMatrix[0].y, 0.04363f, 1e-5f);
  for (int i = 0; i < 20; ++i) {
    fresh.update(0.5f);
  }
  EXPECT_FLOAT_EQ(fresh.yawRate, 2.0f);
}

TEST_F(FlightTest, CollisionLockBlocksKeysButDampingActsUntilTheLockRunsOut) {
  holdForward();
  ship.yawLeft = true;
  ship.yawAcceleration = 0.5f;
  ship.speed = 10.0f;
  ship.collided = true;
  ship.collisionTimer = 3.0f;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed, 8.875f);  // 11.25 % damped away, no thrust
  EXPECT_FLOAT_EQ(ship.yawRate, 0.0f);
  fly(0.125f, 22);
  EXPECT_TRUE(ship.collided);
  ship.update(0.125f);
  EXPECT_FALSE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, 3.0f);
  const float free = ship.speed;
  ship.update(0.125f);
  EXPECT_FLOAT_EQ(ship.speed - free, 7.5f);  // thrust again, undamped along the motion
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
  const glm::mat4 hull = ship.modelMatrix, camera = ship.camera->modelMatrix, gun = ship.gunMatrix;
  ship.update(0.1f);
  EXPECT_NE(ship.modelMatrix, hull);
  ship.bounceBack();
  EXPECT_EQ(ship.modelMatrix, hull);
  EXPECT_EQ(ship.camera->modelMatrix, camera);
  EXPECT_EQ(ship.gunMatrix, gun);
  EXPECT_FLOAT_EQ(ship.speed, -23.0f);  // half of 46
  EXPECT_TRUE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, 3.0f);
  EXPECT_EQ(glm::vec3(ship.boundingSphere), glm::vec3(0.0f));
}

TEST_F(FlightTest, CameraAndGunFollowEveryTransformAndFreshShipsFireAlongTheirNose) {
  // Camera half a unit up and 1.1 ahead in the ship's frame, doubled by the ship's scale.
  EXPECT_EQ(place(ship.camera->modelMatrix), glm::vec3(0.0f, 1.0f, -2.2f));
  ship.rotateY(glm::half_pi<float>());  // nose to −X
  ship.moveZ(-5.0f);                    // 10 world units along the nose
  EXPECT_NEAR(glm::distance(place(ship.camera->modelMatrix), glm::vec3(-12.2f, 1.0f, 0.0f)), 0.0f, 1e-5f);
  ship.rotateX(glm::half_pi<float>());  // nose up: the camera's offset turns with it
  EXPECT_NEAR(glm::distance(place(ship.camera->modelMatrix), glm::vec3(-9.0f, 2.2f, 0.0f)), 0.0f, 1e-5f);
  EXPECT_EQ(ship.gunMatrix, ship.modelMatrix);
  EXPECT_TRUE(near(ship.getViewMatrix() * ship.camera->modelMatrix, glm::mat4(1.0f)));

  const Spaceship straight(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(0.0f), nullptr);
  EXPECT_EQ(straight.modelMatrix, glm::mat4(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1));
  const collision::Line line = straight.getLaserLine();
  EXPECT_EQ(line.start, glm::vec3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(line.end - line.start, glm::vec3(0.0f, 0.0f, -1.0f));
  // Construction angles are degrees: a quarter turn left about Y points the nose along world −X.
  const Spaceship turned(glm::vec3(0.0f), glm::vec3(0.0f, 90.0f, 0.0f), nullptr);
  EXPECT_TRUE(near(turned.modelMatrix, glm::mat4(0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1)));
  EXPECT_NEAR((turned.getLaserLine().end - turned.getLaserLine().start).x, -1.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::game::objects
