#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

#include "Noise.h"

namespace voidskirmish::tools {

// The rock as functions of the direction from its centre: the coarse shape the mesh follows, the fine
// relief the normal map carries and the colour the diffuse map carries. All three share the same
// craters, so the painted crater floors sit where the normal map dents the surface.
class AsteroidSurface {
public:
  AsteroidSurface();

  glm::dvec3 point(const glm::dvec3& direction) const;
  double relief(const glm::dvec3& direction) const;
  glm::dvec3 albedo(const glm::dvec3& direction) const;

private:
  struct Crater {
    glm::dvec3 centre;
    double radius;  // chord length on the unit sphere
    double depth;   // relative to the radius
  };
  struct CraterSample {
    double height = 0.0;
    double floor = 0.0;   // 1 at a crater's centre, 0 at its rim and beyond
    double ejecta = 0.0;  // 1 on a rim crest, fading outwards
  };

  static std::vector<Crater> scatter(std::uint64_t seed, int count, double minRadius, double maxRadius,
                                     double depth);
  static CraterSample sample(const std::vector<Crater>& craters, const glm::dvec3& direction);

  Noise shape, grain, tint;
  std::vector<Crater> largeCraters, smallCraters;
};

}  // namespace voidskirmish::tools
