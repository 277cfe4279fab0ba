#include "Asteroid.h"

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "AsteroidSurface.h"
#include "Image.h"
#include "MeshBuilder.h"
#include "ModelWriter.h"

namespace voidskirmish::tools {
namespace {

constexpr unsigned mapWidth = 1024, mapHeight = 512;
// Steeper than the true slopes, so the small craters still read at a distance.
constexpr double reliefStrength = 1.3;
// The relief's height goes into the normal map's alpha around mid-grey. A fully opaque alpha would make
// FreeImage write a 24-bit PNG, and the game uploads the normal map as 32 bits per texel.
constexpr double heightScale = 8.0;

// Texel centres of the latitude-longitude maps, addressed like the mesh's texture coordinates.
glm::dvec3 texelDirection(unsigned x, unsigned y) {
  const double u = (x + 0.5) / mapWidth, v = (y + 0.5) / mapHeight;
  return sphereDirection(glm::two_pi<double>() * u, glm::pi<double>() * (v - 0.5));
}

// The relief's slope along u (east) and v (north) bends the normal; z points out of the surface. The
// model's tangents and bitangents follow u and v, so the map needs no handedness flag.
glm::dvec3 tangentSpaceNormal(const AsteroidSurface& surface, const glm::dvec3& direction) {
  constexpr double step = 0.5 * glm::pi<double>() / mapHeight;
  glm::dvec3 east, north;
  sphereTangents(direction, east, north);
  const auto slope = [&](const glm::dvec3& along) {
    const double ahead = surface.relief(glm::normalize(direction + step * along));
    const double behind = surface.relief(glm::normalize(direction - step * along));
    return (ahead - behind) / (2.0 * step);
  };
  return glm::normalize(glm::dvec3(-reliefStrength * slope(east), -reliefStrength * slope(north), 1.0));
}

void writeMaps(const AsteroidSurface& surface, const AssetPaths& paths, const MaterialDescription& material) {
  Image diffuse(mapWidth, mapHeight), normals(mapWidth, mapHeight);
  for (unsigned y = 0; y < mapHeight; ++y) {
    for (unsigned x = 0; x < mapWidth; ++x) {
      const glm::dvec3 direction = texelDirection(x, y);
      diffuse.at(x, y) = glm::dvec4(surface.albedo(direction), 1.0);
      const double height = 0.5 + heightScale * surface.relief(direction);
      normals.at(x, y) = glm::dvec4(0.5 * tangentSpaceNormal(surface, direction) + 0.5, height);
    }
  }
  diffuse.saveJpeg(paths.textures + material.diffuseTexture, 92);
  normals.savePng(paths.textures + material.normalTexture);
}

// Centres the rock on the origin and scales it so that its largest extent is 2, like a unit sphere.
void fitToUnitSize(MeshBuilder& rock) {
  glm::dvec3 low = rock.vertices().front().position, high = low;
  for (const auto& vertex : rock.vertices()) {
    low = glm::min(low, vertex.position);
    high = glm::max(high, vertex.position);
  }
  const glm::dvec3 extent = high - low;
  const double scale = 2.0 / std::max({extent.x, extent.y, extent.z});
  rock.transform(glm::translate(glm::scale(glm::dmat4(1.0), glm::dvec3(scale)), -0.5 * (low + high)));
}

}  // namespace

void writeAsteroid(const AssetPaths& paths) {
  const AsteroidSurface surface;
  MaterialDescription material;
  material.name = "Rock";
  material.specular = {0.08f, 0.08f, 0.08f};
  material.shininess = 8.0f;
  material.diffuseTexture = "asteroid_diffuse.jpg";
  material.normalTexture = "asteroid_normal.png";

  MeshBuilder rock;
  rock.addSphere(48, 24, [&](const glm::dvec3& direction) { return surface.point(direction); });
  fitToUnitSize(rock);
  writeModel(paths.models + "asteroidLessComplex.dae", "Asteroid", rock, true, material);
  writeMaps(surface, paths, material);
}

}  // namespace voidskirmish::tools
