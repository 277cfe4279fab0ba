#pragma once

#include <array>
#include <cstdint>

#include <glm/vec3.hpp>

namespace voidskirmish::tools {

// Seeded 3-D gradient noise. Every surface detail and the nebula are functions of a 3-D point, so
// pictures wrapped around a sphere or a cube have no seams.
class Noise {
public:
  explicit Noise(std::uint64_t seed);

  // Smooth noise, roughly in [-1, 1], with features about one unit apart.
  double operator()(const glm::dvec3& point) const;

  // Sum of octaves, each twice the frequency and half the amplitude of the previous; roughly in [-1, 1].
  double fractal(const glm::dvec3& point, int octaves) const;

private:
  double corner(int x, int y, int z, const glm::dvec3& offset) const;

  std::array<std::uint8_t, 512> permutation{};
  std::array<glm::dvec3, 256> gradients{};
};

}  // namespace voidskirmish::tools
