#include "game/collision/Line.h"

#include <glm/geometric.hpp>

#include <cmath>
#include <limits>

namespace voidskirmish::game::collision {

glm::vec3 intersectSphere(glm::vec4 sphere, const Line& line) {
  const glm::vec3 noHit(std::numeric_limits<float>::quiet_NaN());
  const glm::vec3 centre(sphere);
  const float radius = sphere.w;

  const glm::vec3 direction = glm::normalize(line.end - line.start);
  const glm::vec3 w = line.start - centre;
  const float b = glm::dot(direction, w);
  const float disc = b * b - glm::dot(w, w) + radius * radius;
  if (disc < 0.0f) {
    return noHit;
  }
  // The entry point only: a start inside the sphere or a sphere behind the start gives no hit.
  const float tau = -b - std::sqrt(disc);
  if (tau > 0.0f) {
    return line.start + tau * direction;
  }
  return noHit;
}

bool isHit(glm::vec3 point) {
  return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

bool spheresOverlap(glm::vec4 a, glm::vec4 b) {
  return glm::distance(glm::vec3(a), glm::vec3(b)) < a.w + b.w;
}

}  // namespace voidskirmish::game::collision
