#include "BasicShapes.h"

#include <cmath>

#include <glm/gtc/constants.hpp>

#include "MeshBuilder.h"
#include "ModelWriter.h"

namespace voidskirmish::tools {

void writeBoundarySphere(const AssetPaths& paths) {
  // Segments a multiple of 4 and an even ring count put vertices exactly on all six axis extremes.
  MeshBuilder sphere;
  sphere.addSphere(32, 16, [](const glm::dvec3& direction) { return direction; });
  MaterialDescription material;
  material.name = "BoundaryWarning";
  material.diffuse = {1.0f, 0.08f, 0.05f};
  writeModel(paths.models + "BoundarySphere.dae", "BoundarySphere", sphere, true, material);
}

void writeCylinder(const AssetPaths& paths) {
  constexpr int segments = 20;
  MeshBuilder::Ring back, front;
  for (int i = 0; i < segments; ++i) {
    const double angle = glm::two_pi<double>() * i / segments;
    back.emplace_back(std::cos(angle), std::sin(angle), -1.0);
    front.emplace_back(std::cos(angle), std::sin(angle), 1.0);
  }
  MeshBuilder cylinder;
  cylinder.addLoft({back, front}, {0.0, 1.0}, UvRect{}, UvRect{}, UvRect{});
  MaterialDescription material;
  material.name = "LaserBeam";
  material.diffuse = {1.0f, 0.15f, 0.1f};
  material.specular = {1.0f, 0.6f, 0.5f};
  writeModel(paths.models + "cylinder.dae", "LaserBeam", cylinder, false, material);
}

}  // namespace voidskirmish::tools
