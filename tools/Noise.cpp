#include "Noise.h"

#include <cmath>
#include <numeric>
#include <utility>

#include <glm/geometric.hpp>

#include "Random.h"

namespace voidskirmish::tools {
namespace {

double fade(double t) {
  return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double mix(double a, double b, double t) {
  return a + (b - a) * t;
}

}  // namespace

Noise::Noise(std::uint64_t seed) {
  Random random(seed);
  std::array<std::uint8_t, 256> order{};
  std::iota(order.begin(), order.end(), 0);
  for (std::size_t i = order.size() - 1; i > 0; --i) {
    std::swap(order[i], order[random.next() % (i + 1)]);
  }
  for (std::size_t i = 0; i < permutation.size(); ++i) {
    permutation[i] = order[i % order.size()];
  }
  for (auto& gradient : gradients) {
    gradient = random.unitVector();
  }
}

double Noise::corner(int x, int y, int z, const glm::dvec3& offset) const {
  const int hash = permutation[permutation[permutation[x & 255] + (y & 255)] + (z & 255)];
  return glm::dot(gradients[hash], offset);
}

double Noise::operator()(const glm::dvec3& point) const {
  const glm::dvec3 cell = glm::floor(point);
  const glm::dvec3 f = point - cell;
  const int x = static_cast<int>(cell.x), y = static_cast<int>(cell.y), z = static_cast<int>(cell.z);
  const double u = fade(f.x), v = fade(f.y), w = fade(f.z);
  auto edge = [&](int dy, int dz) {
    return mix(corner(x, y + dy, z + dz, f - glm::dvec3(0, dy, dz)),
               corner(x + 1, y + dy, z + dz, f - glm::dvec3(1, dy, dz)), u);
  };
  const double near = mix(edge(0, 0), edge(1, 0), v);
  const double far = mix(edge(0, 1), edge(1, 1), v);
  // Gradient noise with unit gradients stays within about +-0.9; stretch it towards [-1, 1].
  return 1.15 * mix(near, far, w);
}

double Noise::fractal(const glm::dvec3& point, int octaves) const {
  double sum = 0.0, amplitude = 1.0, norm = 0.0;
  glm::dvec3 p = point;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * (*this)(p);
    norm += amplitude;
    amplitude *= 0.5;
    // Offset each octave so their lattices do not line up at the origin.
    p = p * 2.0 + glm::dvec3(17.3, -9.1, 4.7);
  }
  return sum / norm;
}

}  // namespace voidskirmish::tools
