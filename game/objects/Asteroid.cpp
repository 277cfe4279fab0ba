#include "game/objects/Asteroid.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <limits>

namespace voidskirmish::game::objects {

namespace {

constexpr float RANDOM_RANGE = static_cast<float>(RANDOM_MAX);
constexpr float FIELD_HALF_EXTENT = 800.0f;
constexpr float DEGREES_TO_RADIANS = 0.017453292f;

float randomUnit(Random& random) { return static_cast<float>(random.next()) / RANDOM_RANGE; }

// One number picks the sign, the next the distance from 0.
float randomCoordinate(Random& random) {
  const bool negative = 2.0f * static_cast<float>(random.next()) / RANDOM_RANGE < 1.0f;
  const float magnitude = randomUnit(random) * FIELD_HALF_EXTENT;
  return negative ? -magnitude : magnitude;
}

}  // namespace

// The field is drawn from the match's sequence in a fixed order (positions, axes, scales, speeds), so every run
// lays out the same asteroids.
Asteroid::Asteroid(const scene::ShaderProgram* normalMappingProgram, Random& random)
    : GameObject("Voidskirmish/Material/asteroidLessComplex.dae", glm::mat4(1.0f), normalMappingProgram,
                 glm::mat4(1.0f)) {
  for (std::uint32_t i = 0; i < asteroidCount; ++i) {
    const float x = randomCoordinate(random);
    const float y = randomCoordinate(random);
    const float z = randomCoordinate(random);
    asteroidPositions.emplace_back(x, y, z);
  }
  for (std::uint32_t i = 0; i < asteroidCount; ++i) {
    const float a = randomUnit(random);
    const float b = randomUnit(random);
    const float c = randomUnit(random);
    spinAxes.emplace_back(c - 0.5f, b - 0.5f, a - 0.5f);
  }
  for (std::uint32_t i = 0; i < asteroidCount; ++i) {
    asteroidScales.push_back(static_cast<float>(random.next() % 100 + 1));
  }
  for (std::uint32_t i = 0; i < asteroidCount; ++i) {
    spinSpeeds.push_back(randomUnit(random) * 10.0f + 1.0f);
  }
  hasLighting = true;

  const float baseRadius = boundingSphere.w;
  for (std::uint32_t i = 0; i < asteroidCount; ++i) {
    const float scale = asteroidScales[i];
    asteroidMatrices.push_back(glm::scale(glm::translate(glm::mat4(1.0f), asteroidPositions[i]), glm::vec3(scale)));
    asteroidSpheres.emplace_back(asteroidPositions[i], scale * baseRadius);
  }
}

std::size_t Asteroid::sphereCount() const {
  return std::min<std::size_t>(asteroidCount, asteroidSpheres.size());
}

void Asteroid::spin(float deltaTime) {
  const std::size_t count = std::min({static_cast<std::size_t>(asteroidCount), asteroidMatrices.size(),
                                      spinSpeeds.size(), spinAxes.size()});
  for (std::size_t i = 0; i < count; ++i) {
    asteroidMatrices[i] = glm::rotate(asteroidMatrices[i], spinSpeeds[i] * deltaTime * DEGREES_TO_RADIANS, spinAxes[i]);
  }
}

glm::vec3 Asteroid::nearestHit(const collision::Line& line) const {
  glm::vec3 result(std::numeric_limits<float>::infinity());
  float best = std::numeric_limits<float>::infinity();
  for (std::size_t i = 0; i < sphereCount(); ++i) {
    const glm::vec3 point = collision::intersectSphere(asteroidSpheres[i], line);
    if (!collision::isHit(point)) {
      continue;
    }
    // Strictly nearer: on equal distances the lower index keeps the hit.
    const float distance = glm::distance(point, line.start);
    if (distance < best) {
      best = distance;
      result = point;
    }
  }
  return result;
}

}  // namespace voidskirmish::game::objects
