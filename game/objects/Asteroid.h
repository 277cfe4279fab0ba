#pragma once

#include <cstdint>
#include <vector>

#include "game/Random.h"
#include "game/collision/Line.h"
#include "game/objects/GameObject.h"

namespace voidskirmish::game::objects {

// The whole asteroid field: one shared model drawn once per asteroid with its own matrix, and one collision
// sphere per asteroid. Generated from the match's random sequence, so every run has the same field.
class Asteroid : public GameObject {
 public:
  Asteroid(const scene::ShaderProgram* normalMappingProgram, Random& random);

  // Turns every asteroid about its own axis by one frame's worth.
  void spin(float deltaTime);
  // The hit nearest to the ray's start over all asteroid spheres, or (+∞, +∞, +∞); ties go to the lower index.
  glm::vec3 nearestHit(const collision::Line& line) const;
  // asteroidCount, but never more than there are collision spheres: scans stop at the end of the field.
  std::size_t sphereCount() const;

  static constexpr std::uint32_t FIELD_SIZE = 100;
  std::uint32_t asteroidCount = FIELD_SIZE;
  std::vector<glm::vec3> asteroidPositions;
  std::vector<float> asteroidScales;
  std::vector<glm::vec3> spinAxes;
  std::vector<float> spinSpeeds;  // degrees per second
  std::vector<glm::vec4> asteroidSpheres;
  // Model matrix of every asteroid, spun each frame and read by the asteroid drawing.
  std::vector<glm::mat4> asteroidMatrices;
};

}  // namespace voidskirmish::game::objects
