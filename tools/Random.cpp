#include "Random.h"

#include <cmath>

#include <glm/gtc/constants.hpp>

namespace voidskirmish::tools {

Random::Random(std::uint64_t seed) : state(seed) {}

std::uint64_t Random::next() {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Random::uniform(double low, double high) {
  return low + (high - low) * uniform();
}

glm::dvec3 Random::unitVector() {
  const double z = uniform(-1.0, 1.0);
  const double angle = uniform(0.0, glm::two_pi<double>());
  const double ring = std::sqrt(1.0 - z * z);
  return {ring * std::cos(angle), ring * std::sin(angle), z};
}

}  // namespace voidskirmish::tools
