#include <gtest/gtest.h>

#include <functional>

#include "game/objects/Spaceship.h"

// How the ships fly. Thrust from rest, its top speed and the scale that doubles each unit of speed set when the
// ships of tests/replays/flight.rec leave the arena. The camera and the nose follow the mouse's turns in
// ControlsTest, the camera's place and the bounce back in MatchRulesTest.
namespace voidskirmish::game::objects {
namespace {

// Worked numbers: thrust 60 per second², top speed 120, speed damping 0.9 and turn damping 0.7 per second,
// turn acceleration 0.5, top turn rate 2; the hull is scaled by 2, so a unit of speed covers 2 world units.
//
// Holds the forward (thrust 60) or back (−60) key, and the left turn key.
void hold(Spaceship& ship, float thrust, bool left) {
  ship.thrustForward = thrust > 0.0f;
  ship.thrustBackward = thrust < 0.0f;
  ship.thrust = thrust;
  ship.yawLeft = left;
  ship.yawAcceleration = left ? 0.5f : 0.0f;
}

TEST(FlightTest, ThrustTurnsDampingAndClampsInEachSituation) {
  const struct {
    const char* situation;
    std::function<void(Spaceship&)> setUp;
    float seconds;
    int frames;
    float speed, yawRate, pitchRate;
  } flights[] = {
      {"backward against the motion: 9 % damped, then 6 less",
       [](Spaceship& s) { hold(s, -60.0f, false), s.speed = 100.0f; }, 0.1f, 1, 85.0f, 0.0f, 0.0f},
      {"backward once reversed: undamped",
       [](Spaceship& s) { hold(s, -60.0f, false), s.speed = -10.0f; }, 0.1f, 1, -16.0f, 0.0f, 0.0f},
      {"an opposite yaw key stops the turn at once",
       [](Spaceship& s) { s.yawRate = 1.0f, s.yawRight = true, s.yawAcceleration = -0.5f; }, 0.1f, 1, 0, -0.05f, 0},
      {"an opposite pitch key stops the turn at once",
       [](Spaceship& s) { s.pitchRate = -1.5f, s.pitchUp = true, s.pitchAcceleration = 0.5f; }, 0.1f, 1, 0, 0, 0.05f},
      {"yaw clamps at 2", [](Spaceship& s) { hold(s, 0.0f, true); }, 0.5f, 20, 0.0f, 2.0f, 0.0f},
      {"collision lock: keys blocked, damping acts",
       [](Spaceship& s) { hold(s, 60.0f, true), s.speed = 10.0f, s.collided = true; }, 0.125f, 1, 8.875f, 0, 0},
      {"no life: damped, no thrust, no clamp",
       [](Spaceship& s) { hold(s, 60.0f, false), s.lifePoints = 0.0f, s.speed = 500.0f; }, 0.01f, 1, 495.5f, 0, 0},
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

TEST(FlightTest, TurningShipsBankAndTheGunsKickRunsDown) {
  Spaceship turning(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  hold(turning, 0.0f, true);
  turning.recoil = 1.0f;
  turning.update(0.25f);
  // 12.5 degrees of roll per second: in 0.25 s the right wing rises by 2 sin 3.125°.
  EXPECT_NEAR(turning.modelMatrix[0].y, 0.10903f, 1e-5f);
  EXPECT_FLOAT_EQ(turning.recoil, 0.75f);
}

}  // namespace
}  // namespace voidskirmish::game::objects
