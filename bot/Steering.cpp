#include "bot/Steering.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace voidskirmish::bot {
namespace {

// The turn rate a fight's turns reach on average: the lead takes the nose that long to get there.
constexpr float LEAD_TURN_RATE = 1.0f;
// The turn rate asked for is this many times the angle still to go, per second.
constexpr float TURN_GAIN = 2.0f;
constexpr float TURN_RESPONSE = 4.0f;
// A turn that would reach the mark within this time is stopped by a light tap the other way.
constexpr float STOP_AHEAD = 0.12f;
constexpr float STOP_TAP = 1.0f / 16.0f;
constexpr float LONGEST_LEAD = 2.0f;

constexpr float ASTEROID_CLEARANCE = 8.0f;
constexpr float LOOK_AHEAD = 2.5f;     // seconds of course searched for asteroids
constexpr float SLOWEST_LOOK = 15.0f;  // a ship at rest looks ahead as if it were moving off
constexpr float RETURN_SECONDS = 3.0f;
constexpr float FIGHTING_DISTANCE = 70.0f;

float axisStick(float angle, float rate, float maxRate) {
  const float toward = angle >= 0.0f ? 1.0f : -1.0f;
  const float left = std::abs(angle);
  const float closing = rate * toward;
  if (closing < 0.0f) {
    return toward * std::clamp(left * 4.0f, STOP_TAP, 1.0f);  // turning away: the push stops that at once
  }
  if (left < closing * STOP_AHEAD) {
    return -toward * STOP_TAP;
  }
  const float wanted = std::min(left * TURN_GAIN, maxRate);
  return toward * std::clamp((wanted - closing) * TURN_RESPONSE, 0.0f, 1.0f);
}

}  // namespace

ShipState stateOf(const game::objects::Spaceship& ship) {
  ShipState state;
  state.position = ship.position();
  for (int axis = 0; axis < 3; ++axis) {
    state.axes[axis] = glm::normalize(glm::vec3(ship.modelMatrix[axis]));
  }
  state.radius = ship.boundingSphere.w;
  state.speed = ship.speed;
  state.yawRate = ship.yawRate;
  state.pitchRate = ship.pitchRate;
  state.maxTurnRate = ship.maxTurnRate;
  return state;
}

namespace steering {

glm::vec2 anglesTo(const ShipState& ship, glm::vec3 direction) {
  const glm::vec3 local = glm::transpose(ship.axes) * direction;
  return {std::atan2(-local.x, -local.z), std::atan2(local.y, std::hypot(local.x, local.z))};
}

glm::vec2 turnToward(const ShipState& ship, glm::vec3 direction) {
  const glm::vec2 angles = anglesTo(ship, direction);
  return {axisStick(angles.x, ship.yawRate, ship.maxTurnRate), axisStick(angles.y, ship.pitchRate, ship.maxTurnRate)};
}

glm::vec3 aimPoint(const ShipState& ship, glm::vec3 target, glm::vec3 velocity) {
  glm::vec3 point = target;
  for (int pass = 0; pass < 2; ++pass) {
    const float angle = glm::length(anglesTo(ship, point - ship.position));
    const float seconds = std::min(angle / LEAD_TURN_RATE, LONGEST_LEAD);
    point = target + velocity * seconds;
  }
  return point;
}

bool inSights(const ShipState& shooter, glm::vec3 target, float radius, float slack) {
  const glm::vec3 to = target - shooter.position;
  const float distance = glm::length(to);
  const float along = glm::dot(to, shooter.forward());
  if (along <= 0.0f || distance <= 0.0f) {
    return false;
  }
  const float off = std::acos(std::min(1.0f, along / distance));
  return off <= std::asin(std::min(1.0f, radius / distance)) + slack;
}

std::optional<glm::vec3> avoidance(const ShipState& ship, const std::vector<glm::vec4>& spheres, std::size_t count) {
  const glm::vec3 course = ship.forward() * std::max(ship.speed, SLOWEST_LOOK);
  float soonest = std::numeric_limits<float>::infinity();
  std::optional<glm::vec3> way;
  for (std::size_t i = 0; i < count; ++i) {
    const glm::vec3 centre(spheres[i]);
    const float reach = spheres[i].w + ship.radius + ASTEROID_CLEARANCE;
    const glm::vec3 to = centre - ship.position;
    const float ahead = glm::dot(to, course);
    if (ahead <= 0.0f) {
      continue;  // behind, or being left
    }
    const float seconds = glm::length(to) < reach ? 0.0f : ahead / glm::dot(course, course);
    const glm::vec3 miss = ship.position + course * seconds - centre;
    if (seconds > LOOK_AHEAD || seconds >= soonest || glm::length(miss) >= reach) {
      continue;
    }
    soonest = seconds;
    const glm::vec3 side = glm::length(miss) > 1e-3f ? glm::normalize(miss) : ship.axes[1];
    way = glm::normalize(centre + side * (reach * 1.3f) - ship.position);
  }
  return way;
}

std::optional<glm::vec3> arenaReturn(const ShipState& ship, glm::vec4 arena) {
  const glm::vec3 offset = ship.position - glm::vec3(arena);
  const float distance = glm::length(offset);
  const float margin = std::max(std::abs(ship.speed), SLOWEST_LOOK) * RETURN_SECONDS + ship.radius;
  if (distance < arena.w - margin || distance <= 0.0f) {
    return std::nullopt;
  }
  const glm::vec3 outward = offset / distance;
  // Once the nose points well inward the fight may go on; the edge catches it again if it turns out.
  if (distance < arena.w && glm::dot(ship.forward(), outward) < -0.5f) {
    return std::nullopt;
  }
  return -outward;
}

float keepDistance(const ShipState& ship, glm::vec3 target, glm::vec3 targetVelocity) {
  const glm::vec3 to = target - ship.position;
  const float distance = glm::length(to);
  const bool facing = distance > 0.0f && glm::dot(ship.forward(), to / distance) > 0.5f;
  const float along = glm::dot(targetVelocity, ship.forward());
  const float wanted =
      facing ? std::clamp((distance - FIGHTING_DISTANCE) * 0.8f + along, -30.0f, 120.0f) : 10.0f;
  return std::clamp((wanted - ship.speed) / 20.0f, -1.0f, 1.0f);
}

}  // namespace steering
}  // namespace voidskirmish::bot
