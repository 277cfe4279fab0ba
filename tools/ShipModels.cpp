#include "ShipModels.h"

#include <cmath>
#include <vector>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>

#include "MeshBuilder.h"
#include "ModelWriter.h"
#include "ShipAtlas.h"
#include "ShipTransforms.h"

namespace voidskirmish::tools {
namespace {

// One cross-section of a body running along z: a rounded box whose upper and lower halves may differ.
struct Section {
  double z;
  double halfWidth;
  double top;     // height above centreY
  double bottom;  // depth below centreY
  double centreY;
};

double signedPower(double value, double exponent) {
  return std::copysign(std::pow(std::abs(value), exponent), value);
}

// Points start at the bottom and run over +X, the top and -X, so v = 0.25 is the right flank and
// v = 0.5 the spine. An exponent below 1 squares the section off.
MeshBuilder::Ring crossSection(const Section& section, double centreX, int columns, double exponent) {
  MeshBuilder::Ring ring;
  for (int k = 0; k < columns; ++k) {
    const double angle = -glm::half_pi<double>() + glm::two_pi<double>() * k / columns;
    const double c = std::cos(angle), s = std::sin(angle);
    ring.emplace_back(centreX + section.halfWidth * signedPower(c, exponent),
                      section.centreY + (s >= 0.0 ? section.top : section.bottom) * signedPower(s, exponent),
                      section.z);
  }
  return ring;
}

struct LoftStyle {
  double centreX = 0.0;
  int columns = 16;
  double exponent = 1.0;
  UvRect area, startCap, endCap;
};

void addBody(MeshBuilder& mesh, const std::vector<Section>& sections, const LoftStyle& style) {
  std::vector<MeshBuilder::Ring> rings;
  std::vector<double> ringU;
  const double front = sections.front().z, back = sections.back().z;
  for (const Section& section : sections) {
    rings.push_back(crossSection(section, style.centreX, style.columns, style.exponent));
    ringU.push_back((section.z - front) / (back - front));
  }
  mesh.addLoft(rings, ringU, style.area, style.startCap, style.endCap);
}

// A round body: sections given as (z, radius) around the axis through (centreX, centreY).
std::vector<Section> roundSections(const std::vector<glm::dvec2>& profile, double centreY) {
  std::vector<Section> sections;
  for (const glm::dvec2& point : profile) {
    sections.push_back({point.x, point.y, point.y, point.y, centreY});
  }
  return sections;
}

// Parts built for the +X side, mirrored to -X.
void addMirrored(MeshBuilder& mesh, MeshBuilder side) {
  mesh.append(side);
  side.transform(glm::scale(glm::dmat4(1.0), glm::dvec3(-1, 1, 1)));
  mesh.append(side);
}

MeshBuilder buildHull() {
  MeshBuilder hull;
  // The fuselage stays low in front so the pilot's camera, 0.5 above the origin near z = -1.1, sees
  // over the nose.
  addBody(hull,
          {{-1.50, 0.025, 0.015, 0.015, -0.06}, {-1.38, 0.09, 0.05, 0.06, -0.06}, {-1.15, 0.17, 0.10, 0.12, -0.06},
           {-0.85, 0.25, 0.15, 0.17, -0.05}, {-0.45, 0.32, 0.19, 0.21, -0.04}, {0.00, 0.36, 0.21, 0.23, -0.03},
           {0.50, 0.36, 0.21, 0.23, -0.03}, {0.95, 0.31, 0.18, 0.20, -0.03}, {1.25, 0.26, 0.15, 0.17, -0.03},
           {1.38, 0.24, 0.13, 0.15, -0.03}},
          {0.0, 24, 0.7, hullArea, intakeArea, nozzleArea});
  // The canopy bulges out of the spine behind the camera; its lower half stays inside the fuselage.
  addBody(hull,
          {{-0.80, 0.03, 0.02, 0.02, 0.11}, {-0.65, 0.10, 0.08, 0.08, 0.13}, {-0.45, 0.15, 0.13, 0.13, 0.14},
           {-0.20, 0.17, 0.16, 0.16, 0.15}, {0.05, 0.15, 0.13, 0.13, 0.16}, {0.25, 0.09, 0.07, 0.07, 0.17},
           {0.38, 0.03, 0.02, 0.02, 0.17}},
          {0.0, 20, 1.0, canopyArea, canopyArea, canopyArea});

  MeshBuilder side;
  const glm::dvec3 alongX(1, 0, 0), alongZ(0, 0, 1);
  side.addSlab({{0.25, -0.20}, {1.20, 0.60}, {1.20, 1.00}, {0.25, 0.95}}, {0, -0.10, 0}, alongX, alongZ, 0.05,
               wingArea);
  addBody(side,
          roundSections({{0.00, 0.06}, {0.08, 0.11}, {0.25, 0.135}, {0.95, 0.135}, {1.20, 0.125}, {1.32, 0.11}},
                        -0.10),
          {0.62, 16, 1.0, nacelleArea, intakeArea, nozzleArea});
  // Weapon rails on the wing tips.
  addBody(side, roundSections({{0.40, 0.01}, {0.48, 0.04}, {1.02, 0.04}, {1.10, 0.025}}, -0.10),
          {1.22, 10, 1.0, nacelleArea, nacelleArea, nacelleArea});
  // Tail fins, canted outwards.
  const double cant = glm::radians(12.0);
  side.addSlab({{0.55, 0.0}, {1.30, 0.0}, {1.38, 0.42}, {1.12, 0.42}}, {0.20, 0.08, 0}, alongZ,
               {std::sin(cant), std::cos(cant), 0.0}, 0.035, finArea);
  addMirrored(hull, side);
  return hull;
}

MeshBuilder buildGun() {
  MeshBuilder gun;
  const glm::dvec3 alongZ(0, 0, 1), alongY(0, 1, 0);
  // The strut rises into the hull's belly; the breech block holds the barrel one unit below the origin.
  gun.addSlab({{-0.72, -0.95}, {-0.42, -0.95}, {-0.50, -0.18}, {-0.66, -0.18}}, {0, 0, 0}, alongZ, alongY, 0.08, {});
  gun.addSlab({{-0.88, -1.10}, {-0.40, -1.10}, {-0.40, -0.90}, {-0.88, -0.90}}, {0, 0, 0}, alongZ, alongY, 0.20, {});
  addBody(gun,
          roundSections({{-2.00, 0.075}, {-1.86, 0.075}, {-1.85, 0.055}, {-1.20, 0.055}, {-1.19, 0.07},
                         {-1.10, 0.07}, {-1.09, 0.055}, {-0.80, 0.055}},
                        -1.0),
          {0.0, 14, 1.0, {}, {}, {}});
  return gun;
}

}  // namespace

void writeShipHull(const AssetPaths& paths) {
  MeshBuilder hull = buildHull();
  hull.transform(glm::inverse(hullVertexTransform()));
  MaterialDescription material;
  material.name = "ShipHull";
  material.specular = {0.55f, 0.55f, 0.6f};
  material.shininess = 32.0f;
  material.diffuseTexture = shipTextureFile;
  writeModel(paths.models + "ship2.dae", "Ship", hull, true, material);
}

void writeShipGun(const AssetPaths& paths) {
  MeshBuilder gun = buildGun();
  gun.transform(glm::inverse(gunVertexTransform()));
  MaterialDescription material;
  material.name = "GunMetal";
  material.diffuse = {0.2f, 0.21f, 0.23f};
  material.specular = {0.7f, 0.7f, 0.75f};
  material.shininess = 48.0f;
  writeModel(paths.models + "SpaceshipGun.dae", "Gun", gun, false, material);
}

}  // namespace voidskirmish::tools
