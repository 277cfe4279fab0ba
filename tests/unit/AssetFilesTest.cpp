#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/objects/Spaceship.h"
#include "scene/Geometry.h"
#include "scene/Image.h"
#include "scene/Texture.h"
#include "tests/support/Printed.h"

// The committed models and pictures, read the way the game reads them.
namespace voidskirmish {
namespace {

const std::string MODELS = "Voidskirmish/Material/";
const std::string TEXTURES = "Voidskirmish/Material/Textures/";

using Points = std::vector<glm::vec3>;
using Bounds = std::pair<glm::vec3, glm::vec3>;

// A model's vertices with the game's load-time transform baked in.
Points pointsOf(const std::vector<float>& xyz) {
  Points points;
  for (size_t i = 0; i + 2 < xyz.size(); i += 3) {
    points.emplace_back(xyz[i], xyz[i + 1], xyz[i + 2]);
  }
  return points;
}

Points load(const std::string& file) {
  return pointsOf(scene::Geometry(MODELS + file, glm::mat4(1.0f), nullptr, glm::mat4(1.0f)).positions);
}

// Lowest and highest corner of the points that satisfy `keep`.
Bounds bounds(const Points& points, const std::function<bool(glm::vec3)>& keep = [](glm::vec3) { return true; }) {
  Bounds found{glm::vec3(1e9f), glm::vec3(-1e9f)};
  for (const glm::vec3& p : points) {
    if (keep(p)) {
      found = {glm::min(found.first, p), glm::max(found.second, p)};
    }
  }
  return found;
}

// A committed picture as the game decodes it, and one texel of it (rows are padded to 4 bytes, bottom row first).
scene::Image picture(const std::string& name) { return scene::Image::decode(TEXTURES + name, scene::LARGEST_TEXTURE_SIDE); }
glm::ivec3 texel(const scene::Image& image, int x, int y) {
  const unsigned bytes = image.bitsPerPixel() / 8, pitch = (image.width() * bytes + 3) / 4 * 4;
  const unsigned char* bgr = image.bits() + y * pitch + x * bytes;
  return {bgr[2], bgr[1], bgr[0]};
}

TEST(AssetFilesTest, EveryModelIsStoredAsTrianglesAndDecodesItsTexturesSilently) {
  const struct { const char* file; bool textured, normalMapped; } models[] = {{"BoundarySphere.dae", false, false}, {"cylinder.dae", false, false},
                {"asteroidLessComplex.dae", true, true}, {"ship2.dae", true, false}, {"SpaceshipGun.dae", false, false}};
  for (const auto& model : models) {
    SCOPED_TRACE(model.file);
    Assimp::Importer importer;
    const aiScene* stored = importer.ReadFile(MODELS + model.file, 0);
    ASSERT_TRUE(stored != nullptr && stored->mNumMeshes > 0);
    for (const aiMesh* mesh : std::vector<aiMesh*>(stored->mMeshes, stored->mMeshes + stored->mNumMeshes)) {
      EXPECT_EQ(mesh->mPrimitiveTypes, static_cast<unsigned>(aiPrimitiveType_TRIANGLE));
      EXPECT_TRUE(std::all_of(mesh->mFaces, mesh->mFaces + mesh->mNumFaces,
                              [](const aiFace& face) { return face.mNumIndices == 3; }));
    }
    std::unique_ptr<scene::Geometry> geometry;
    EXPECT_EQ(testing::printed([&] {
      geometry = std::make_unique<scene::Geometry>(MODELS + model.file, glm::mat4(1.0f), nullptr, glm::mat4(1.0f));
    }), "") << "a texture did not decode";
    EXPECT_EQ(glm::bvec2(geometry->hasTexture, geometry->hasNormalMap), glm::bvec2(model.textured, model.normalMapped));
    EXPECT_TRUE(!model.textured || geometry->texture->width(0) > 0);
    EXPECT_TRUE(!model.normalMapped || geometry->normalTexture->width(0) > 0);
  }
  // The asteroid's and hull's colours are 24-bit, the asteroid's normals 32-bit.
  for (const auto& [name, bits] : {std::pair{"asteroid_diffuse.jpg", 24u}, std::pair{"ship_hull.jpg", 24u},
                                   std::pair{"asteroid_normal.png", 32u}}) {
    EXPECT_EQ(picture(name).bitsPerPixel(), bits) << name;
  }
}

// The arena is the unit sphere scaled by the game, the beam a unit cylinder along Z, the asteroid about unit size
// with a normal map that tilts outwards.
TEST(AssetFilesTest, SphereCylinderAndAsteroidAreUnitSizedAndTheAsteroidsNormalsTilt) {
  const Points sphere = load("BoundarySphere.dae");
  EXPECT_EQ(bounds(sphere), Bounds(glm::vec3(-1.0f), glm::vec3(1.0f)));
  EXPECT_TRUE(std::all_of(sphere.begin(), sphere.end(), [](glm::vec3 p) { return std::abs(glm::length(p) - 1) < 1e-5f; }));
  const Points cylinder = load("cylinder.dae");
  const auto [low, high] = bounds(cylinder);
  EXPECT_EQ(glm::vec2(low.z, high.z), glm::vec2(-1.0f, 1.0f));
  EXPECT_NEAR(high.x - low.x, 2.0f, 1e-5f);
  float widest = 0.0f;
  for (const glm::vec3& p : cylinder) {
    widest = std::max(widest, glm::length(glm::vec2(p)));
  }
  EXPECT_NEAR(widest, 1.0f, 1e-5f);

  const auto [asteroidLow, asteroidHigh] = bounds(load("asteroidLessComplex.dae"));
  const glm::vec3 extent = asteroidHigh - asteroidLow;
  EXPECT_NEAR(std::max({extent.x, extent.y, extent.z}), 2.0f, 0.2f);
  EXPECT_LT(glm::length(0.5f * (asteroidLow + asteroidHigh)), 0.2f);

  // A flat normal map would be wasted: its texels must actually tilt, mostly outwards (blue high).
  const scene::Image normals = picture("asteroid_normal.png");
  ASSERT_FALSE(normals.empty());
  int tilted = 0, outward = 0, samples = 0;
  for (unsigned y = 0; y < normals.height(); y += 7) {
    for (unsigned x = 0; x < normals.width(); x += 7, ++samples) {
      const glm::ivec3 normal = texel(normals, x, y);
      tilted += std::abs(normal.r - 128) > 20 || std::abs(normal.g - 128) > 20;
      outward += normal.b > 128;
    }
  }
  EXPECT_GT(tilted, samples / 20);
  EXPECT_EQ(outward, samples);
}

// The ship as it loads its hull and gun: nose along −Z, top up, the gun's barrel hanging below.
TEST(AssetFilesTest, ShipHullLeadsWithItsNoseAndTheGunBarrelHangsOneUnitDown) {
  const game::objects::Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  const Points hull = pointsOf(ship.positions);
  const auto [low, high] = bounds(hull);
  const glm::vec3 size = high - low;
  EXPECT_NEAR(size.z, 3.0f, 0.4f);
  EXPECT_NEAR(size.x, 2.4f, 0.4f);
  EXPECT_NEAR(size.y, 0.8f, 0.2f);
  EXPECT_LT(glm::length(0.5f * (low + high)), 0.3f);
  // The front quarter is a slim nose; canopy and fins rise well above the origin, the belly only a little below.
  const float frontEnd = low.z + 0.25f * size.z;
  const auto [noseLow, noseHigh] = bounds(hull, [&](glm::vec3 p) { return p.z < frontEnd; });
  EXPECT_LT(noseHigh.x - noseLow.x, 0.3f * size.x);
  EXPECT_GT(high.y, 1.5f * -low.y);
  // Nothing near the pilot's camera, at (0, 0.5, -1.1), blocks the view ahead.
  EXPECT_LT(bounds(hull, [](glm::vec3 p) { return p.z < -0.9f; }).second.y, 0.3f);

  const Points gun = pointsOf(ship.gun->positions);
  const auto [gunLow, gunHigh] = bounds(gun);
  EXPECT_NEAR(gunLow.z, -2.0f, 0.1f);
  EXPECT_GE(gunHigh.y, low.y);  // the strut reaches into the belly
  EXPECT_LT(gunHigh.x - gunLow.x, 0.4f);
  const auto [barrelLow, barrelHigh] = bounds(gun, [](glm::vec3 p) { return p.z < -1.0f; });
  EXPECT_LT(barrelHigh.y, low.y);
  EXPECT_NEAR(0.5f * (barrelLow.y + barrelHigh.y), -1.0f, 0.02f);
  EXPECT_NEAR(0.5f * (barrelLow.x + barrelHigh.x), 0.0f, 0.02f);
  EXPECT_LT(barrelHigh.y - barrelLow.y, 0.25f);
}

// Equal square 24-bit faces whose texels along each of the cube's twelve edges show the same sky on both
// sides. Comparing against one face read backwards along the edge tells a seam from the stars' own contrast.
TEST(AssetFilesTest, SkyboxFacesAreEqualSquaresMeetingWithoutSeams) {
  // OpenGL's cube-map addressing for +X, -X, +Y, -Y, +Z, -Z (the game's load order): each face's major axis and
  // the directions in which its s and t grow.
  const struct { const char* file; glm::vec3 major, s, t; } faces[] = {
      {"Skybox/right.jpg", {1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, {"Skybox/left.jpg", {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
      {"Skybox/bottom.jpg", {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {"Skybox/top.jpg", {0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
      {"Skybox/back.jpg", {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},   {"Skybox/front.jpg", {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
  };
  std::vector<scene::Image> images;
  for (const auto& face : faces) {
    const scene::Image& image = images.emplace_back(picture(face.file));
    ASSERT_FALSE(image.empty()) << face.file;
    const unsigned first = images[0].width();
    EXPECT_EQ(glm::uvec3(image.bitsPerPixel(), image.width(), image.height()), glm::uvec3(24, first, first))
        << face.file;
  }
  const int size = static_cast<int>(images[0].width());
  const auto sky = [&](std::size_t f, const glm::vec3& direction) {
    const float major = glm::dot(direction, faces[f].major);
    const glm::vec2 st = 0.5f * (glm::vec2(glm::dot(direction, faces[f].s), glm::dot(direction, faces[f].t)) / major + 1.0f);
    const glm::ivec2 at = glm::clamp(glm::ivec2(st * float(size)), 0, size - 1);
    return glm::vec3(texel(images[f], at.x, at.y));
  };
  for (std::size_t a = 0; a < std::size(faces); ++a) {
    for (std::size_t b = a + 1; b < std::size(faces); ++b) {
      const glm::vec3 edge = glm::cross(faces[a].major, faces[b].major);
      if (glm::length(edge) < 0.5f) {
        continue;  // opposite faces share no edge
      }
      const glm::vec3 corner = faces[a].major + faces[b].major;
      float matched = 0.0f, reversed = 0.0f;
      for (int i = 0; i < 400; ++i) {
        const float w = -0.95f + 1.9f * i / 399.0f;
        const glm::vec3 colour = sky(a, corner + w * edge);
        matched += glm::length(colour - sky(b, corner + w * edge));
        reversed += glm::length(colour - sky(b, corner - w * edge));
      }
      EXPECT_LT(matched, 0.5f * reversed) << faces[a].file << " and " << faces[b].file;
    }
  }
}

}  // namespace
}  // namespace voidskirmish
