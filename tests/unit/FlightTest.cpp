#include <gtest/gtest.h>

#include <glm/ext/matrix_relational.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <functional>

#include "game/objects/Spaceship.h"
#include "scene/Camera.h"

// How things move: every scene object in its own frame, the camera, and the ships in flight.
namespace voidskirmish::game::objects {
namespace {

bool near(const glm::mat4& a, const glm::mat4& b) { return glm::all(glm::equal(a, b, 1e-4f)); }
glm::vec3 place(const glm::mat4& m) { return glm::vec3(m[3]); }

// Counts the matrices handed to setModelMatrix, as a game object with derived data would see them.
class RecordingObject : public scene::Camera {
 public:
  RecordingObject() : Camera(glm::vec3(0.0f), glm::vec3(0.0f)) {}
  void setModelMatrix(glm::mat4 matrix) override {
    ++received;
    modelMatrix = matrix;
  }
  int received = 0;
};

// From (1, 2, 3) turned a quarter left about Y, whose own X, Y and Z point along world −Z, +Y and +X, each
// transform acts in the object's own frame and goes through setModelMatrix. Worked by hand: where the object
// ends up, where its nose (own −Z) points and where its top (own +Y) points.
TEST(SceneObjectTest, EveryTransformActsInTheOwnFrameThroughSetModelMatrix) {
  const float quarter = glm::half_pi<float>();
  const struct { std::function<void(scene::SceneObject&)> transform; glm::vec3 position, nose, top; } cases[] = {
      {[&](scene::SceneObject& o) { o.rotateX(quarter); }, {1, 2, 3}, {0, 1, 0}, {1, 0, 0}},
      {[&](scene::SceneObject& o) { o.rotateY(quarter); }, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}},
      {[&](scene::SceneObject& o) { o.rotateZ(quarter); }, {1, 2, 3}, {-1, 0, 0}, {0, 0, 1}},
      {[](scene::SceneObject& o) { o.moveX(1.5f); }, {1, 2, 1.5f}, {-1, 0, 0}, {0, 1, 0}},
      {[](scene::SceneObject& o) { o.moveY(-2.0f); }, {1, 0, 3}, {-1, 0, 0}, {0, 1, 0}},
      {[](scene::SceneObject& o) { o.moveZ(4.0f); }, {5, 2, 3}, {-1, 0, 0}, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    RecordingObject object;
    object.modelMatrix = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), quarter, glm::vec3(0, 1, 0));
    c.transform(object);
    EXPECT_EQ(object.received, 1) << "bypassed setModelMatrix";
    const glm::mat4& m = object.modelMatrix;
    EXPECT_NEAR(glm::distance(glm::vec3(m[3]), c.position), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(-glm::vec3(m[2]), c.nose), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(glm::vec3(m[1]), c.top), 0.0f, 1e-5f);
  }
}

TEST(SceneObjectTest, CameraStartsAtPositionPlusOffsetAndMovesAlongItsView) {
  scene::Camera camera(glm::vec3(1, 2, 3), glm::vec3(0.5f, 0, -1));
  EXPECT_EQ(glm::vec3(camera.modelMatrix[3]), glm::vec3(1.5f, 2, 2));
  EXPECT_EQ(glm::mat3(camera.modelMatrix), glm::mat3(1.0f));
  camera.moveZ(-2.0f);  // forward along the view direction
  EXPECT_NEAR(camera.modelMatrix[3].z, 0.0f, 1e-5f);
}

// Worked numbers: thrust 60 per second², top speed 120, speed damping 0.9 and turn damping 0.7 per second,
// turn acceleration 0.5, top turn rate 2; the hull is scaled by 2, so a unit of speed covers 2 world units.
void forward(Spaceship& ship) {
  ship.thrustForward = true;
  ship.thrust = 60.0f;
}
void backward(Spaceship& ship) {
  ship.thrustBackward = true;
  ship.thrust = -60.0f;
}
void left(Spaceship& ship) {
  ship.yawLeft = true;
  ship.yawAcceleration = 0.5f;
}

TEST(FlightTest, ThrustTurnsDampingAndClampsInEachSituation) {
  const struct {
    const char* situation;
    std::function<void(Spaceship&)> setUp;
    float seconds;
    int frames;
    float speed, yawRate, pitchRate;
  } flights[] = {
      {"forward from rest: undamped", forward, 0.1f, 10, 60.0f, 0.0f, 0.0f},
      {"forward clamps at 120", forward, 0.1f, 25, 120.0f, 0.0f, 0.0f},
      {"released: 0.985 a frame", [](Spaceship& s) { s.speed = 120.0f; }, 1.0f / 60.0f, 60, 48.457f, 0.0f, 0.0f},
      {"backward against the motion: 9 % damped, then 6 less",
       [](Spaceship& s) { backward(s), s.speed = 100.0f; }, 0.1f, 1, 85.0f, 0.0f, 0.0f},
      {"backward once reversed: undamped", [](Spaceship& s) { backward(s), s.speed = -10.0f; }, 0.1f, 1, -16.0f, 0, 0},
      {"backward clamps at -120", [](Spaceship& s) { backward(s), s.speed = -100.0f; }, 0.1f, 10, -120.0f, 0, 0},
      {"an opposite yaw key stops the turn at once",
       [](Spaceship& s) { s.yawRate = 1.0f, s.yawRight = true, s.yawAcceleration = -0.5f; }, 0.1f, 1, 0, -0.05f, 0},
      {"an opposite pitch key stops the turn at once",
       [](Spaceship& s) { s.pitchRate = -1.5f, s.pitchUp = true, s.pitchAcceleration = 0.5f; }, 0.1f, 1, 0, 0, 0.05f},
      {"yaw clamps at 2", left, 0.5f, 20, 0.0f, 2.0f, 0.0f},
      {"collision lock: keys blocked, damping acts",
       [](Spaceship& s) { forward(s), left(s), s.speed = 10.0f, s.collided = true; }, 0.125f, 1, 8.875f, 0, 0},
      {"no life: damped, no thrust, no clamp",
       [](Spaceship& s) { forward(s), s.lifePoints = 0.0f, s.speed = 500.0f; }, 0.01f, 1, 495.5f, 0, 0},
      {"a long frame stops the motion rather than reversing it",
       [](Spaceship& s) { s.speed = 100.0f, s.yawRate = 1.0f, s.pitchRate = -1.0f; }, 2.0f, 1, 0, 0, 0},
  };
  for (const auto& flight : flights) {
    Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
    flight.setUp(ship);
    for (int i = 0; i < flight.frames; ++i) {
      ship.update(flight.seconds);
    }
    EXPECT_NEAR(ship.speed, flight.speed, 1e-3f) << flight.situation;
    EXPECT_NEAR(ship.yawRate, flight.yawRate, 1e-6f) << flight.situation;
    EXPECT_NEAR(ship.pitchRate, flight.pitchRate, 1e-6f) << flight.situation;
  }
}

TEST(FlightTest, ShipsFlyAlongTheirNoseEvenWithoutLifeAndBankIntoTheirTurns) {
  Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  forward(ship);
  ship.speed = 120.0f;
  ship.update(0.1f);  // forward is the ship's −Z: 120 units per second at scale 2 is 24 world units in 0.1 s
  EXPECT_NEAR(ship.position().z, -24.0f, 1e-3f);
  ship.lifePoints = 0.0f;
  ship.update(0.1f);  // damped to 109.2: 21.84 further
  EXPECT_NEAR(ship.position().z, -45.84f, 1e-3f);

  Spaceship turning(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  left(turning);
  turning.update(0.1f);
  // 12.5 degrees of roll per second: in 0.1 s the right wing rises by 2 sin 1.25°.
  EXPECT_NEAR(turning.modelMatrix[0].y, 0.04363f, 1e-5f);
  turning.recoil = 1.0f;  // the gun's kick runs down within a second
  turning.update(0.25f);
  EXPECT_FLOAT_EQ(turning.recoil, 0.75f);
}

TEST(FlightTest, CollisionLockRunsOutAfterThreeSecondsAndBounceBackUndoesTheLastStep) {
  Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  forward(ship);
  ship.speed = 40.0f;
  const glm::mat4 hull = ship.modelMatrix, camera = ship.camera->modelMatrix, gun = ship.gunMatrix;
  ship.update(0.1f);
  ship.bounceBack();
  EXPECT_EQ(ship.modelMatrix, hull);
  EXPECT_EQ(ship.camera->modelMatrix, camera);
  EXPECT_EQ(ship.gunMatrix, gun);
  EXPECT_EQ(glm::vec3(ship.boundingSphere), glm::vec3(0.0f));
  EXPECT_FLOAT_EQ(ship.speed, -23.0f);  // half of 46, reversed
  EXPECT_TRUE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, 3.0f);

  for (int i = 0; i < 23; ++i) {
    ship.update(0.125f);
  }
  EXPECT_TRUE(ship.collided);
  ship.update(0.125f);
  EXPECT_FALSE(ship.collided);
  EXPECT_FLOAT_EQ(ship.collisionTimer, 3.0f);
  const float free = ship.speed;
  ship.update(0.125f);
  EXPECT_NEAR(ship.speed - free, 7.5f, 1e-4f);  // thrust again: 60 × 0.125
}

TEST(FlightTest, CameraAndGunFollowEveryTransformAndAShipBuiltTurnedFiresAlongItsNose) {
  Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  // Camera half a unit up and 1.1 ahead in the ship's frame, doubled by the ship's scale.
  EXPECT_EQ(place(ship.camera->modelMatrix), glm::vec3(0.0f, 1.0f, -2.2f));
  ship.rotateY(glm::half_pi<float>());  // nose to −X
  ship.moveZ(-5.0f);                    // 10 world units along the nose
  EXPECT_NEAR(glm::distance(place(ship.camera->modelMatrix), glm::vec3(-12.2f, 1.0f, 0.0f)), 0.0f, 1e-5f);
  ship.rotateX(glm::half_pi<float>());  // nose up: the camera's offset turns with it
  EXPECT_NEAR(glm::distance(place(ship.camera->modelMatrix), glm::vec3(-9.0f, 2.2f, 0.0f)), 0.0f, 1e-5f);
  EXPECT_EQ(ship.gunMatrix, ship.modelMatrix);
  EXPECT_TRUE(near(ship.getViewMatrix() * ship.camera->modelMatrix, glm::mat4(1.0f)));

  // Construction angles are degrees: a quarter turn left about Y points the nose along world −X.
  const Spaceship turned(glm::vec3(0.0f), glm::vec3(0.0f, 90.0f, 0.0f), nullptr);
  EXPECT_TRUE(near(turned.modelMatrix, glm::mat4(0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1)));
  EXPECT_NEAR((turned.getLaserLine().end - turned.getLaserLine().start).x, -1.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::game::objects
