#pragma once

#include <cstdint>

#include <glm/vec3.hpp>

namespace voidskirmish::tools {

// A small seeded generator (SplitMix64): the same seed gives the same assets on every machine,
// which the runtime library's rand does not promise.
class Random {
public:
  explicit Random(std::uint64_t seed);

  std::uint64_t next();
  double uniform();                    // [0, 1)
  double uniform(double low, double high);
  glm::dvec3 unitVector();             // uniformly distributed over the sphere

private:
  std::uint64_t state;
};

}  // namespace voidskirmish::tools
