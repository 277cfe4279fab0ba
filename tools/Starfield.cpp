#include "Starfield.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "Image.h"
#include "Noise.h"
#include "Random.h"

namespace voidskirmish::tools {
namespace {

constexpr unsigned faceSize = 512;
// Angle one texel covers at the middle of a face.
constexpr double texelAngle = 2.0 / faceSize;

// OpenGL's cube-map addressing: a direction on a face is axis + sc * sAxis + tc * tAxis with
// sc, tc in [-1, 1] and s = (sc + 1) / 2, t = (tc + 1) / 2.
struct CubeFace {
  const char* file;
  glm::dvec3 axis, sAxis, tAxis;
};

// In the order of GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, which is the order the game loads the files in.
const std::array<CubeFace, 6> cubeFaces{{
    {"right.jpg", {1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {"left.jpg", {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {"bottom.jpg", {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {"top.jpg", {0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {"back.jpg", {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {"front.jpg", {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
}};

glm::dvec3 texelDirection(const CubeFace& face, double x, double y) {
  const double sc = 2.0 * (x + 0.5) / faceSize - 1.0, tc = 2.0 * (y + 0.5) / faceSize - 1.0;
  return glm::normalize(face.axis + sc * face.sAxis + tc * face.tAxis);
}

struct Star {
  glm::dvec3 direction;
  glm::dvec3 colour;
  double brightness;
  double size;         // angular standard deviation of the core
  double glow;         // strength of the halo
  double glowRadius;   // angular fall-off of the halo
};

// The plane of a faint band where stars and nebula gather, like a galaxy seen edge-on.
const glm::dvec3 bandNormal = glm::normalize(glm::dvec3(0.35, 1.0, -0.25));

glm::dvec3 starColour(Random& random) {
  const double temperature = random.uniform();
  const glm::dvec3 orange(1.0, 0.72, 0.5), white(1.0, 0.97, 0.92), blue(0.68, 0.8, 1.0);
  return temperature < 0.5 ? glm::mix(orange, white, temperature * 2.0)
                           : glm::mix(white, blue, temperature * 2.0 - 1.0);
}

glm::dvec3 starDirection(Random& random) {
  glm::dvec3 direction = random.unitVector();
  if (random.uniform() < 0.35) {
    direction -= 0.85 * glm::dot(direction, bandNormal) * bandNormal;
  }
  return glm::normalize(direction);
}

std::vector<Star> makeStars() {
  struct Tier {
    int count;
    double minBrightness, maxBrightness, size, glow, glowRadius;
  };
  const Tier tiers[] = {
      {6000, 0.12, 0.45, 0.75 * texelAngle, 0.0, 1.0},
      {800, 0.45, 1.3, 0.95 * texelAngle, 0.0, 1.0},
      {160, 1.4, 3.0, 1.25 * texelAngle, 0.06, 2.5 * texelAngle},
      {28, 4.0, 9.0, 1.7 * texelAngle, 0.12, 6.0 * texelAngle},
  };
  Random random(0x57A2F1E1D);
  std::vector<Star> stars;
  for (const Tier& tier : tiers) {
    for (int i = 0; i < tier.count; ++i) {
      const glm::dvec3 direction = starDirection(random);
      const glm::dvec3 colour = starColour(random);
      const double brightness = random.uniform(tier.minBrightness, tier.maxBrightness);
      stars.push_back({direction, colour, brightness, tier.size, tier.glow * brightness, tier.glowRadius});
    }
  }
  return stars;
}

class Sky {
public:
  Sky() : density(0x4E4B1A), tint(0x7117), dust(0xD057) {}

  glm::dvec3 nebula(const glm::dvec3& direction) const {
    const double band = std::exp(-std::pow(glm::dot(direction, bandNormal) / 0.4, 2.0));
    const double cloud = glm::clamp(density.fractal(direction * 2.2, 6) * 1.6 + 0.45 * band - 0.1, 0.0, 1.0);
    const double lanes = 1.0 - 0.7 * glm::smoothstep(0.1, 0.5, dust.fractal(direction * 3.1, 5));
    const double hue = glm::clamp(0.5 + 0.9 * tint.fractal(direction * 1.3, 3), 0.0, 1.0);
    const glm::dvec3 violet(0.34, 0.12, 0.46), teal(0.05, 0.3, 0.42), rose(0.55, 0.2, 0.25);
    const glm::dvec3 colour = glm::mix(glm::mix(violet, teal, hue), rose, glm::smoothstep(0.55, 0.95, cloud));
    return colour * (0.85 * cloud * cloud * lanes + 0.02);
  }

private:
  Noise density, tint, dust;
};

// Adds one star to every face whose texels it touches, each texel by its own view direction.
void splat(const Star& star, std::array<std::vector<glm::dvec3>, 6>& light) {
  const double reach = std::max(4.0 * star.size, star.glow > 0.0 ? 5.0 * star.glowRadius : 0.0);
  // Near a face's corners a texel covers about a third of the angle it covers at the middle.
  const int radius = static_cast<int>(std::ceil(3.0 * reach / texelAngle)) + 1;
  for (std::size_t f = 0; f < cubeFaces.size(); ++f) {
    const CubeFace& face = cubeFaces[f];
    const double major = glm::dot(star.direction, face.axis);
    if (major <= 0.05) {
      continue;
    }
    const double x = (glm::dot(star.direction, face.sAxis) / major + 1.0) * 0.5 * faceSize - 0.5;
    const double y = (glm::dot(star.direction, face.tAxis) / major + 1.0) * 0.5 * faceSize - 0.5;
    const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
    const int limit = static_cast<int>(faceSize) - 1;
    for (int ty = std::max(cy - radius, 0); ty <= std::min(cy + radius, limit); ++ty) {
      for (int tx = std::max(cx - radius, 0); tx <= std::min(cx + radius, limit); ++tx) {
        const double angle = glm::length(texelDirection(face, tx, ty) - star.direction);
        if (angle > reach) {
          continue;
        }
        double intensity = star.brightness * std::exp(-0.5 * angle * angle / (star.size * star.size));
        if (star.glow > 0.0) {
          intensity += star.glow * std::exp(-angle / star.glowRadius);
        }
        light[f][static_cast<std::size_t>(ty) * faceSize + tx] += intensity * star.colour;
      }
    }
  }
}

}  // namespace

void writeSkybox(const AssetPaths& paths) {
  const Sky sky;
  std::array<std::vector<glm::dvec3>, 6> light;
  for (std::size_t f = 0; f < cubeFaces.size(); ++f) {
    light[f].resize(static_cast<std::size_t>(faceSize) * faceSize);
    for (unsigned y = 0; y < faceSize; ++y) {
      for (unsigned x = 0; x < faceSize; ++x) {
        light[f][static_cast<std::size_t>(y) * faceSize + x] = sky.nebula(texelDirection(cubeFaces[f], x, y));
      }
    }
  }
  for (const Star& star : makeStars()) {
    splat(star, light);
  }
  for (std::size_t f = 0; f < cubeFaces.size(); ++f) {
    Image image(faceSize, faceSize);
    for (unsigned y = 0; y < faceSize; ++y) {
      for (unsigned x = 0; x < faceSize; ++x) {
        // Soft saturation: star cores burn out to white while the faint nebula stays nearly linear.
        const glm::dvec3 value = light[f][static_cast<std::size_t>(y) * faceSize + x];
        image.at(x, y) = glm::dvec4(1.0 - glm::exp(-1.3 * value), 1.0);
      }
    }
    image.saveJpeg(paths.textures + "Skybox/" + cubeFaces[f].file, 92);
  }
}

}  // namespace voidskirmish::tools
