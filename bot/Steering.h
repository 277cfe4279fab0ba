#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <glm/mat3x3.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "game/objects/Spaceship.h"

namespace voidskirmish::bot {

// What the computer knows of a ship: where it is, which way its axes point and how it moves.
struct ShipState {
  glm::vec3 position{0.0f};
  glm::mat3 axes{1.0f};  // right, up and back, unit length (the model matrix's columns without its scale)
  float radius = 6.0f;   // of its bounding sphere
  float speed = 0.0f;    // along the nose
  float yawRate = 0.0f;  // positive: turning left
  float pitchRate = 0.0f;  // positive: nose going up
  float maxTurnRate = game::objects::Spaceship::MAX_TURN_RATE;

  glm::vec3 forward() const { return -axes[2]; }
  glm::vec3 velocity() const { return forward() * speed; }
};

ShipState stateOf(const game::objects::Spaceship& ship);

// The rules the computer steers by, each on what the ship can know. Stick values are the pad's: -1 to 1,
// positive turning left and raising the nose.
namespace steering {

// The turn from the nose to `direction`: yaw (positive: to the left) and pitch (positive: up), in radians.
glm::vec2 anglesTo(const ShipState& ship, glm::vec3 direction);

// The stick (yaw, pitch) that brings the nose onto `direction` without swinging past it: it pushes toward the
// mark while the turn is slower than the angle asks, lets the turn run, and taps the other way (which stops a turn
// at once) just before the nose gets there.
glm::vec2 turnToward(const ShipState& ship, glm::vec3 direction);

// Where to point at a target moving at `velocity`: the laser hits at once, so the lead is only for the time the
// nose needs to get there.
glm::vec3 aimPoint(const ShipState& ship, glm::vec3 target, glm::vec3 velocity);

// Whether the line of fire passes within the target's sphere, widened by `slack` radians.
bool inSights(const ShipState& shooter, glm::vec3 target, float radius, float slack);

// A way around the nearest asteroid that the ship would touch within the next seconds on its course, or nothing
// when the way is clear. Asteroids are `spheres` (centre, radius).
std::optional<glm::vec3> avoidance(const ShipState& ship, const std::vector<glm::vec4>& spheres, std::size_t count);

// Toward the arena's centre once the ship is within a few seconds of its edge (or beyond it), else nothing.
std::optional<glm::vec3> arenaReturn(const ShipState& ship, glm::vec4 arena);

// The thrust that closes on `target` to the fighting distance and holds it there.
float keepDistance(const ShipState& ship, glm::vec3 target, glm::vec3 targetVelocity);

}  // namespace steering
}  // namespace voidskirmish::bot
