#pragma once

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <vector>

namespace voidskirmish::render {

// The order to draw opaque objects in: nearest surface first, so that the depth test rejects the hidden parts
// of farther objects before they are shaded. Keeps its storage between calls: no allocation once sized.
class NearestFirst {
 public:
  // Indices 0 .. count-1 of `spheres` (xyz centre, w radius) by the distance of the sphere's surface from the
  // eye, nearest first.
  const std::vector<std::uint32_t>& order(const std::vector<glm::vec4>& spheres, std::uint32_t count, glm::vec3 eye);

 private:
  std::vector<std::uint32_t> order_;
  std::vector<float> distances_;
};

}  // namespace voidskirmish::render
