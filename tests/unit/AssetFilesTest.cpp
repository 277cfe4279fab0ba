#include <FreeImage.h>
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
#include "scene/Texture.h"

// The committed models and pictures, read the way the game reads them.
namespace voidskirmish {
namespace {

const std::string MODEL_FOLDER = "Voidskirmish/Material/";
const std::string TEXTURE_FOLDER = "./Voidskirmish/Material/Textures/";

// A model's vertices with the game's load-time transform baked in, and their bounds.
struct Shape {
  explicit Shape(const std::vector<float>& positions) {
    for (size_t i = 0; i + 2 < positions.size(); i += 3) {
      points.emplace_back(positions[i], positions[i + 1], positions[i + 2]);
      low = glm::min(low, points.back());
      high = glm::max(high, points.back());
    }
  }
  glm::vec3 extent() const { return high - low; }
  // Bounds of the vertices that satisfy a condition.
  std::pair<glm::vec3, glm::vec3> boundsWhere(const std::function<bool(const glm::vec3&)>& keep) const {
    glm::vec3 l(1e9f), h(-1e9f);
    for (const auto& p : points) {
      if (keep(p)) {
        l = glm::min(l, p);
        h = glm::max(h, p);
      }
    }
    return {l, h};
  }

  std::vector<glm::vec3> points;
  glm::vec3 low{1e9f}, high{-1e9f};
};

Shape loadShape(const std::string& file) {
  return Shape(scene::Geometry(MODEL_FOLDER + file, glm::mat4(1.0f), nullptr, glm::mat4(1.0f)).positions);
}

using Bitmap = std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)>;

Bitmap loadImage(const std::string& name) {
  const std::string path = TEXTURE_FOLDER + name;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  return Bitmap(format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.c_str(), 0), &FreeImage_Unload);
}

TEST(AssetFilesTest, EveryModelIsStoredAsTrianglesAndDecodesItsTexturesSilently) {
  const struct {
    const char* file;
    bool textured, normalMapped;
  } models[] = {{"BoundarySphere.dae", false, false}, {"cylinder.dae", false, false},
                {"asteroidLessComplex.dae", true, true}, {"ship2.dae", true, false}, {"SpaceshipGun.dae", false, false}};
  for (const auto& model : models) {
    SCOPED_TRACE(model.file);
    Assimp::Importer importer;
    const aiScene* stored = importer.ReadFile(MODEL_FOLDER + model.file, 0);
    ASSERT_NE(stored, nullptr);
    ASSERT_GT(stored->mNumMeshes, 0u);
    for (unsigned m = 0; m < stored->mNumMeshes; ++m) {
      const aiMesh* mesh = stored->mMeshes[m];
      EXPECT_EQ(mesh->mPrimitiveTypes, static_cast<unsigned>(aiPrimitiveType_TRIANGLE));
      EXPECT_TRUE(std::all_of(mesh->mFaces, mesh->mFaces + mesh->mNumFaces,
                              [](const aiFace& face) { return face.mNumIndices == 3; }));
    }
    ::testing::internal::CaptureStdout();
    const scene::Geometry geometry(MODEL_FOLDER + model.file, glm::mat4(1.0f), nullptr, glm::mat4(1.0f));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "a texture did not decode";
    EXPECT_EQ(geometry.hasTexture, model.textured);
    EXPECT_EQ(geometry.hasNormalMap, model.normalMapped);
    EXPECT_TRUE(!model.textured || geometry.texture->width(0) > 0);
    EXPECT_TRUE(!model.normalMapped || geometry.normalTexture->width(0) > 0);
  }
  // The asteroid's and hull's colours are 24-bit, the asteroid's normals 32-bit.
  for (const auto& [name, bits] : {std::pair{"asteroid_diffuse.jpg", 24u}, std::pair{"ship_hull.jpg", 24u},
                                   std::pair{"asteroid_normal.png", 32u}}) {
    const Bitmap image = loadImage(name);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(FreeImage_GetBPP(image.get()), bits) << name;
  }
}

// The arena is the unit sphere scaled by the game, the beam a unit cylinder along Z, the asteroid about unit size
// with a normal map that tilts outwards.
TEST(AssetFilesTest, SphereCylinderAndAsteroidAreUnitSizedAndTheAsteroidsNormalsTilt) {
  const Shape sphere = loadShape("BoundarySphere.dae");
  EXPECT_EQ(sphere.low, glm::vec3(-1.0f));
  EXPECT_EQ(sphere.high, glm::vec3(1.0f));
  for (const auto& p : sphere.points) {
    EXPECT_NEAR(glm::length(p), 1.0f, 1e-5f);
  }
  const Shape cylinder = loadShape("cylinder.dae");
  EXPECT_FLOAT_EQ(cylinder.low.z, -1.0f);
  EXPECT_FLOAT_EQ(cylinder.high.z, 1.0f);
  float widest = 0.0f;
  for (const auto& p : cylinder.points) {
    widest = std::max(widest, glm::length(glm::vec2(p)));
  }
  EXPECT_NEAR(widest, 1.0f, 1e-5f);
  EXPECT_NEAR(cylinder.extent().x, 2.0f, 1e-5f);

  const Shape asteroid = loadShape("asteroidLessComplex.dae");
  const glm::vec3 extent = asteroid.extent();
  EXPECT_NEAR(std::max({extent.x, extent.y, extent.z}), 2.0f, 0.2f);
  EXPECT_LT(glm::length(0.5f * (asteroid.low + asteroid.high)), 0.2f);

  // A flat normal map would be wasted: its texels must actually tilt, mostly outwards (blue high).
  const Bitmap normals = loadImage("asteroid_normal.png");
  ASSERT_TRUE(normals);
  int tilted = 0, outward = 0, samples = 0;
  for (unsigned y = 0; y < FreeImage_GetHeight(normals.get()); y += 7) {
    for (unsigned x = 0; x < FreeImage_GetWidth(normals.get()); x += 7, ++samples) {
      RGBQUAD texel;
      FreeImage_GetPixelColor(normals.get(), x, y, &texel);
      tilted += std::abs(texel.rgbRed - 128) > 20 || std::abs(texel.rgbGreen - 128) > 20;
      outward += texel.rgbBlue > 128;
    }
  }
  EXPECT_GT(tilted, samples / 20);
  EXPECT_EQ(outward, samples);
}

// The ship as it loads its hull and gun: nose along −Z, top up, the gun's barrel hanging below.
TEST(AssetFilesTest, ShipHullLeadsWithItsNoseAndTheGunBarrelHangsOneUnitDown) {
  const game::objects::Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  const Shape hull(ship.positions);
  const glm::vec3 size = hull.extent();
  EXPECT_NEAR(size.z, 3.0f, 0.4f);
  EXPECT_NEAR(size.x, 2.4f, 0.4f);
  EXPECT_NEAR(size.y, 0.8f, 0.2f);
  EXPECT_LT(glm::length(0.5f * (hull.low + hull.high)), 0.3f);
  // The front quarter is a slim nose; canopy and fins rise well above the origin, the belly only a little below.
  const float frontEnd = hull.low.z + 0.25f * size.z;
  const auto [noseLow, noseHigh] = hull.boundsWhere([&](const glm::vec3& p) { return p.z < frontEnd; });
  EXPECT_LT(noseHigh.x - noseLow.x, 0.3f * size.x);
  EXPECT_GT(hull.high.y, 1.5f * -hull.low.y);
  // Nothing near the pilot's camera, at (0, 0.5, -1.1), blocks the view ahead.
  EXPECT_LT(hull.boundsWhere([](const glm::vec3& p) { return p.z < -0.9f; }).second.y, 0.3f);

  const Shape gun(ship.gun->positions);
  EXPECT_NEAR(gun.low.z, -2.0f, 0.1f);
  EXPECT_GE(gun.high.y, hull.low.y);  // the strut reaches into the belly
  EXPECT_LT(gun.extent().x, 0.4f);
  const auto [barrelLow, barrelHigh] = gun.boundsWhere([](const glm::vec3& p) { return p.z < -1.0f; });
  EXPECT_LT(barrelHigh.y, hull.low.y);
  EXPECT_NEAR(0.5f * (barrelLow.y + barrelHigh.y), -1.0f, 0.02f);
  EXPECT_NEAR(0.5f * (barrelLow.x + barrelHigh.x), 0.0f, 0.02f);
  EXPECT_LT(barrelHigh.y - barrelLow.y, 0.25f);
}

// OpenGL's cube-map addressing for +X, -X, +Y, -Y, +Z, -Z (the game's load order): each face's major axis and
// the directions in which its s and t grow.
struct CubeFace {
  const char* file;
  glm::vec3 major, s, t;
};
const std::array<CubeFace, 6> CUBE_FACES{{
    {"Skybox/right.jpg", {1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {"Skybox/left.jpg", {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {"Skybox/bottom.jpg", {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {"Skybox/top.jpg", {0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {"Skybox/back.jpg", {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {"Skybox/front.jpg", {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
}};

// Equal square 24-bit faces whose texels along each of the cube's twelve edges show the same sky on both
// sides. Comparing against one face read backwards along the edge tells a seam from the stars' own contrast.
TEST(AssetFilesTest, SkyboxFacesAreEqualSquaresMeetingWithoutSeams) {
  std::vector<Bitmap> faces;
  for (const CubeFace& face : CUBE_FACES) {
    FIBITMAP* image = faces.emplace_back(loadImage(face.file)).get();
    ASSERT_TRUE(image) << face.file;
    const unsigned first = FreeImage_GetWidth(faces[0].get());
    EXPECT_EQ(glm::uvec3(FreeImage_GetBPP(image), FreeImage_GetWidth(image), FreeImage_GetHeight(image)),
              glm::uvec3(24, first, first)) << face.file;
  }
  const int size = static_cast<int>(FreeImage_GetWidth(faces[0].get()));
  const auto texel = [&](std::size_t f, const glm::vec3& direction) {
    const CubeFace& face = CUBE_FACES[f];
    const float major = glm::dot(direction, face.major);
    const glm::vec2 st = 0.5f * (glm::vec2(glm::dot(direction, face.s), glm::dot(direction, face.t)) / major + 1.0f);
    const glm::ivec2 at = glm::clamp(glm::ivec2(st * float(size)), 0, size - 1);
    RGBQUAD colour;
    FreeImage_GetPixelColor(faces[f].get(), at.x, at.y, &colour);
    return glm::vec3(colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
  };
  for (std::size_t a = 0; a < CUBE_FACES.size(); ++a) {
    for (std::size_t b = a + 1; b < CUBE_FACES.size(); ++b) {
      const glm::vec3 edge = glm::cross(CUBE_FACES[a].major, CUBE_FACES[b].major);
      if (glm::length(edge) < 0.5f) {
        continue;  // opposite faces share no edge
      }
      const glm::vec3 corner = CUBE_FACES[a].major + CUBE_FACES[b].major;
      float matched = 0.0f, reversed = 0.0f;
      for (int i = 0; i < 400; ++i) {
        const float w = -0.95f + 1.9f * i / 399.0f;
        const glm::vec3 colour = texel(a, corner + w * edge);
        matched += glm::length(colour - texel(b, corner + w * edge));
        reversed += glm::length(colour - texel(b, corner - w * edge));
      }
      EXPECT_LT(matched, 0.5f * reversed) << CUBE_FACES[a].file << " and " << CUBE_FACES[b].file;
    }
  }
}

}  // namespace
}  // namespace voidskirmish
