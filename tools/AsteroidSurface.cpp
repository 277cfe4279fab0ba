#include "AsteroidSurface.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "Random.h"

namespace voidskirmish::tools {
namespace {

constexpr double rimHeight = 0.22;  // relative to the crater depth

// Normalised crater profile over x = distance from the centre / radius: a bowl down to -1, a raised
// rim at x = 1 and a short fall-off outside.
double craterProfile(double x) {
  if (x < 1.0) {
    return x * x - 1.0 + rimHeight * std::pow(x, 4.0);
  }
  const double outside = (x - 1.0) / 0.45;
  return rimHeight * std::exp(-outside * outside);
}

}  // namespace

AsteroidSurface::AsteroidSurface()
    : shape(0xA57E01D),
      grain(0x6EA1A),
      tint(0x7EE7),
      largeCraters(scatter(0xC7A7E5, 12, 0.25, 0.6, 0.36)),
      smallCraters(scatter(0x5C7A7E, 260, 0.018, 0.16, 0.32)) {}

std::vector<AsteroidSurface::Crater> AsteroidSurface::scatter(std::uint64_t seed, int count, double minRadius,
                                                              double maxRadius, double depth) {
  Random random(seed);
  std::vector<Crater> craters;
  for (int i = 0; i < count; ++i) {
    const glm::dvec3 centre = random.unitVector();
    // Many small craters, few large ones.
    const double size = std::pow(random.uniform(), 2.5);
    craters.push_back({centre, minRadius + (maxRadius - minRadius) * size, depth * random.uniform(0.7, 1.2)});
  }
  return craters;
}

AsteroidSurface::CraterSample AsteroidSurface::sample(const std::vector<Crater>& craters,
                                                      const glm::dvec3& direction) {
  CraterSample result;
  for (const Crater& crater : craters) {
    const double x = glm::length(direction - crater.centre) / crater.radius;
    if (x > 2.5) {
      continue;
    }
    result.height += crater.radius * crater.depth * craterProfile(x);
    result.floor = std::max(result.floor, 1.0 - glm::smoothstep(0.0, 1.0, x));
    result.ejecta = std::max(result.ejecta, std::exp(-std::pow((x - 1.05) / 0.35, 2.0)));
  }
  return result;
}

glm::dvec3 AsteroidSurface::point(const glm::dvec3& direction) const {
  const double lumps = 0.34 * shape.fractal(direction * 1.3, 4);
  const double radius = 1.0 + lumps + sample(largeCraters, direction).height;
  // A rock is longer than it is wide.
  return glm::dvec3(1.25, 0.85, 1.0) * direction * radius;
}

double AsteroidSurface::relief(const glm::dvec3& direction) const {
  return sample(smallCraters, direction).height + 0.006 * grain.fractal(direction * 14.0, 4);
}

glm::dvec3 AsteroidSurface::albedo(const glm::dvec3& direction) const {
  const glm::dvec3 grey(0.47, 0.45, 0.43), brown(0.5, 0.39, 0.29), dark(0.24, 0.22, 0.21);
  const double mineral = glm::smoothstep(-0.35, 0.45, tint.fractal(direction * 2.0, 4));
  glm::dvec3 colour = glm::mix(grey, brown, mineral);
  colour = glm::mix(colour, dark, glm::smoothstep(0.15, 0.6, tint.fractal(direction * 4.5 + 11.0, 3)) * 0.6);
  colour *= 0.82 + 0.36 * (0.5 + 0.5 * grain.fractal(direction * 30.0, 3));
  const CraterSample large = sample(largeCraters, direction), small = sample(smallCraters, direction);
  colour *= 1.0 - 0.3 * std::max(large.floor, small.floor);
  colour *= 1.0 + 0.22 * std::max(large.ejecta, small.ejecta);
  return glm::clamp(colour, 0.0, 1.0);
}

}  // namespace voidskirmish::tools
