#include "ShipTexture.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include <glm/common.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/vec2.hpp>
#include <glm/vector_relational.hpp>

#include "Image.h"
#include "Noise.h"
#include "ShipAtlas.h"

namespace voidskirmish::tools {
namespace {

constexpr unsigned textureSize = 1024;

const glm::dvec3 paint(0.76, 0.77, 0.79);
const glm::dvec3 belly(0.36, 0.38, 0.41);
const glm::dvec3 navy(0.1, 0.15, 0.32);
const glm::dvec3 orange(0.9, 0.36, 0.08);
const glm::dvec3 graphite(0.2, 0.21, 0.23);
const glm::dvec3 gunmetal(0.43, 0.45, 0.49);
const glm::dvec3 brightMetal(0.72, 0.74, 0.77);

// Position inside a region, in texels from the region's low corner, and the region's size in texels.
struct Texel {
  glm::dvec2 p;
  glm::dvec2 size;
  glm::dvec2 local() const { return p / size; }
};

// Coverage of [low, high] at x, blurred over one texel so edges do not alias.
double band(double x, double low, double high) {
  return glm::clamp(std::min(x - low, high - x) + 0.5, 0.0, 1.0);
}

std::uint32_t hash(int a, int b) {
  std::uint32_t h = static_cast<std::uint32_t>(a) * 0x27D4EB2Du ^ static_cast<std::uint32_t>(b) * 0x165667B1u;
  h ^= h >> 15;
  h *= 0x85EBCA6Bu;
  return h ^ (h >> 13);
}

// Plating: staggered rows of panels, each a shade lighter or darker, with dark seams and rivets.
double plating(const Texel& texel, double panelWidth, double panelHeight) {
  const int row = static_cast<int>(std::floor(texel.p.y / panelHeight));
  const double x = texel.p.x + (row % 2 != 0 ? 0.5 * panelWidth : 0.0);
  const int column = static_cast<int>(std::floor(x / panelWidth));
  const double shade = 0.95 + 0.08 * (hash(column, row) % 1000) / 1000.0;
  const double seamX = std::abs(x - std::round(x / panelWidth) * panelWidth);
  const double seamY = std::abs(texel.p.y - std::round(texel.p.y / panelHeight) * panelHeight);
  const double seam = std::max(band(seamX, -1.0, 0.8), band(seamY, -1.0, 0.8));
  const bool rivetRow = std::abs(seamY - 3.5) < 0.9 && std::fmod(texel.p.x, 9.0) < 1.6;
  return shade * (1.0 - 0.55 * seam) * (rivetRow ? 0.8 : 1.0);
}

glm::dvec3 paintHull(const Texel& texel) {
  const glm::dvec2 at = texel.local();  // x: nose to tail, y: around from the belly over the right flank
  const double aroundFromTop = std::abs(at.y - 0.5);
  glm::dvec3 colour = glm::mix(paint, belly, glm::smoothstep(0.33, 0.37, aroundFromTop));
  const double flank = std::abs(aroundFromTop - 0.27);
  colour = glm::mix(colour, navy, band(flank * texel.size.y, -1.0, 9.0) * glm::smoothstep(0.16, 0.2, at.x));
  colour = glm::mix(colour, orange, band(flank * texel.size.y, 11.0, 14.0) * glm::smoothstep(0.2, 0.24, at.x));
  const double spine = aroundFromTop * texel.size.y;
  colour = glm::mix(colour, orange, band(spine, 6.0, 15.0) * glm::smoothstep(0.62, 0.66, at.x));
  colour = glm::mix(colour, graphite, 1.0 - glm::smoothstep(0.07, 0.09, at.x));
  // Soot behind the engine.
  colour *= 1.0 - 0.45 * glm::smoothstep(0.9, 1.0, at.x);
  return colour * plating(texel, 64.0, 42.0);
}

glm::dvec3 paintWing(const Texel& texel) {
  const glm::dvec2 at = texel.local();  // x: root to tip, y: leading to trailing edge
  glm::dvec3 colour = paint;
  colour = glm::mix(colour, orange, band(texel.p.x, 0.72 * texel.size.x, 0.78 * texel.size.x));
  colour = glm::mix(colour, navy, band(texel.p.x, 0.83 * texel.size.x, texel.size.x + 1.0));
  const double leadingEdge = (at.y - 0.667 * at.x) * texel.size.y;
  colour = glm::mix(colour, brightMetal, band(leadingEdge, -40.0, 14.0));
  // Flaps along the trailing edge, split into segments.
  const double flap = band(texel.p.y, 0.86 * texel.size.y, texel.size.y + 1.0);
  colour = glm::mix(colour, gunmetal, flap);
  double shade = plating(texel, 48.0, 48.0);
  if (flap > 0.5) {
    shade = std::min(shade, 1.0 - 0.5 * band(std::fmod(texel.p.x, 86.0), 0.0, 1.5));
  }
  return colour * shade;
}

glm::dvec3 paintNacelle(const Texel& texel) {
  const double along = texel.local().x;  // front to back
  glm::dvec3 colour = gunmetal;
  colour = glm::mix(colour, brightMetal, 1.0 - glm::smoothstep(0.07, 0.08, along));
  colour = glm::mix(colour, glm::dvec3(0.82, 0.12, 0.08), band(texel.p.x, 0.14 * texel.size.x, 0.18 * texel.size.x));
  // Heat tint towards the exhaust.
  colour = glm::mix(colour, glm::dvec3(0.3, 0.26, 0.38), glm::smoothstep(0.82, 1.0, along));
  return colour * plating(texel, 40.0, 32.0);
}

glm::dvec3 paintFin(const Texel& texel) {
  const double height = texel.local().y;
  glm::dvec3 colour = glm::mix(paint, navy, glm::smoothstep(0.62, 0.64, height));
  colour = glm::mix(colour, orange, band(texel.p.y, 0.5 * texel.size.y, 0.57 * texel.size.y));
  return colour * plating(texel, 36.0, 30.0);
}

glm::dvec3 paintCanopy(const Texel& texel) {
  const glm::dvec2 at = texel.local();  // x: front to back, y: around, 0.5 on top
  const double fromTop = std::abs(at.y - 0.5);
  const double skyward = glm::clamp(1.0 - 4.0 * fromTop, 0.0, 1.0);
  glm::dvec3 colour = glm::dvec3(0.03, 0.07, 0.14) + glm::dvec3(0.08, 0.16, 0.28) * skyward;
  const double glint =
      band(std::abs(at.y - 0.42) * texel.size.y, -1.0, 2.5) * band(texel.p.x, 0.2 * texel.size.x, 0.7 * texel.size.x);
  colour = glm::mix(colour, glm::dvec3(0.75, 0.85, 0.95), 0.6 * glint);
  double frame = band(fromTop * texel.size.y, -1.0, 1.5);
  for (double bar : {0.3, 0.62}) {
    frame = std::max(frame, band(std::abs(at.x - bar) * texel.size.x, -1.0, 2.5));
  }
  frame = std::max(frame, glm::smoothstep(0.36, 0.38, fromTop));
  return glm::mix(colour, graphite, frame);
}

// Discs for the caps at both ends of bodies, radius 1 at the rim.
double discRadius(const Texel& texel) {
  return glm::length(2.0 * texel.local() - 1.0);
}

double discAngle(const Texel& texel) {
  const glm::dvec2 d = 2.0 * texel.local() - 1.0;
  return std::atan2(d.y, d.x);
}

glm::dvec3 paintNozzle(const Texel& texel) {
  const double r = discRadius(texel);
  const glm::dvec3 core(0.9, 0.97, 1.0), flame(0.15, 0.45, 1.0);
  const glm::dvec3 petals = gunmetal * (0.75 + 0.25 * std::cos(18.0 * discAngle(texel)));
  const glm::dvec3 metal = glm::mix(petals, brightMetal, glm::smoothstep(0.88, 0.9, r));
  const glm::dvec3 glow = glm::mix(core, flame, glm::smoothstep(0.0, 0.55, r));
  return glm::mix(glow, glm::mix(graphite, metal, glm::smoothstep(0.62, 0.64, r)), glm::smoothstep(0.53, 0.56, r));
}

glm::dvec3 paintIntake(const Texel& texel) {
  const double r = discRadius(texel);
  const double blade = 0.5 + 0.5 * std::cos(14.0 * discAngle(texel) + 3.0 * r);
  const glm::dvec3 fan = glm::mix(glm::dvec3(0.06), glm::dvec3(0.3, 0.31, 0.33), blade * glm::smoothstep(0.15, 0.2, r));
  return glm::mix(fan, brightMetal, glm::smoothstep(0.8, 0.84, r));
}

struct Region {
  UvRect area;
  std::function<glm::dvec3(const Texel&)> paint;
};

}  // namespace

void writeShipTexture(const AssetPaths& paths) {
  const std::vector<Region> regions{{hullArea, paintHull},       {wingArea, paintWing},
                                    {nacelleArea, paintNacelle}, {finArea, paintFin},
                                    {canopyArea, paintCanopy},   {nozzleArea, paintNozzle},
                                    {intakeArea, paintIntake}};
  const Noise grime(0x6A1E);
  Image image(textureSize, textureSize);
  for (unsigned y = 0; y < textureSize; ++y) {
    for (unsigned x = 0; x < textureSize; ++x) {
      const glm::dvec2 uv((x + 0.5) / textureSize, (y + 0.5) / textureSize);
      for (const Region& region : regions) {
        if (glm::all(glm::greaterThanEqual(uv, region.area.low)) && glm::all(glm::lessThan(uv, region.area.high))) {
          const Texel texel{(uv - region.area.low) * double(textureSize),
                            (region.area.high - region.area.low) * double(textureSize)};
          const double dirt = 0.93 + 0.1 * grime.fractal(glm::dvec3(x / 60.0, y / 60.0, 0.5), 4);
          image.at(x, y) = glm::dvec4(region.paint(texel) * dirt, 1.0);
          break;
        }
      }
    }
  }
  image.saveJpeg(paths.textures + shipTextureFile, 92);
}

}  // namespace voidskirmish::tools
