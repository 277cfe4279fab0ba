#include <FreeImage.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The committed models and pictures as the game reads them: through Assimp's post-processing preset,
// meshes flattened without node transforms, and images decoded by FreeImage from the texture folder.
namespace voidskirmish {
namespace {

const std::string MODEL_FOLDER = "Voidskirmish/Material/";
const std::string TEXTURE_FOLDER = "./Voidskirmish/Material/Textures/";
const char* const MODEL_FILES[] = {"BoundarySphere.dae", "ship2.dae", "SpaceshipGun.dae", "asteroidLessComplex.dae",
                                   "cylinder.dae"};

// The hull's and the gun's vertex transforms, built the way the ship builds them when it loads them.
glm::mat4 hullTransform() {
  glm::mat4 h = glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(), glm::vec3(-1, 0, 0));
  h = glm::rotate(h, glm::half_pi<float>(), glm::vec3(0, 0, 1));
  return glm::translate(h, glm::vec3(0, 0, 0.3f));
}

glm::mat4 gunTransform() {
  glm::mat4 g = glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(), glm::vec3(0, 0, -1));
  g = glm::rotate(g, glm::pi<float>(), glm::vec3(0, -1, 0));
  g = glm::scale(g, glm::vec3(0.6f, 0.07f, 0.7f));
  return glm::translate(g, glm::vec3(-1, 0, 1.9f));
}

struct Model {
  std::vector<glm::vec3> positions;
  bool hasUvs = true;
  std::string diffuseTexture, normalTexture;
  glm::vec3 low{1e9f}, high{-1e9f};

  glm::vec3 extent() const { return high - low; }
  glm::vec3 centre() const { return 0.5f * (low + high); }
  // Bounds of the vertices that satisfy a condition.
  std::pair<glm::vec3, glm::vec3> boundsWhere(const std::function<bool(const glm::vec3&)>& keep) const {
    glm::vec3 l(1e9f), h(-1e9f);
    for (const auto& p : positions) {
      if (keep(p)) {
        l = glm::min(l, p);
        h = glm::max(h, p);
      }
    }
    return {l, h};
  }
};

Model loadModel(const std::string& file, const glm::mat4& vertexTransform = glm::mat4(1.0f)) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(MODEL_FOLDER + file, aiProcessPreset_TargetRealtime_Quality);
  Model model;
  if (scene == nullptr) {
    ADD_FAILURE() << file << ": " << importer.GetErrorString();
    return model;
  }
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh* mesh = scene->mMeshes[m];
    model.hasUvs = model.hasUvs && mesh->HasTextureCoords(0);
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
      const aiVector3D& v = mesh->mVertices[i];
      const glm::vec3 p(vertexTransform * glm::vec4(v.x, v.y, v.z, 1.0f));
      model.positions.push_back(p);
      model.low = glm::min(model.low, p);
      model.high = glm::max(model.high, p);
    }
  }
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    aiString path;
    if (aiGetMaterialTexture(scene->mMaterials[m], aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS) {
      model.diffuseTexture = path.C_Str();
    }
    if (aiGetMaterialTexture(scene->mMaterials[m], aiTextureType_NORMALS, 0, &path) == AI_SUCCESS) {
      model.normalTexture = path.C_Str();
    }
  }
  return model;
}

using Bitmap = std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)>;

Bitmap loadImage(const std::string& name) {
  const std::string path = TEXTURE_FOLDER + name;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  return Bitmap(format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.c_str(), 0), &FreeImage_Unload);
}

void expectImageBits(const std::string& name, unsigned bits) {
  const Bitmap image = loadImage(name);
  ASSERT_TRUE(image) << name;
  EXPECT_EQ(FreeImage_GetBPP(image.get()), bits) << name;
}

TEST(AssetFilesTest, EveryModelIsStoredAsTrianglesAndLoadsAsTriangles) {
  for (const char* file : MODEL_FILES) {
    for (unsigned flags : {0u, static_cast<unsigned>(aiProcessPreset_TargetRealtime_Quality)}) {
      Assimp::Importer importer;
      const aiScene* scene = importer.ReadFile(MODEL_FOLDER + file, flags);
      ASSERT_NE(scene, nullptr) << file;
      ASSERT_GT(scene->mNumMeshes, 0u) << file;
      for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        EXPECT_EQ(mesh->mPrimitiveTypes, static_cast<unsigned>(aiPrimitiveType_TRIANGLE)) << file;
        EXPECT_TRUE(std::all_of(mesh->mFaces, mesh->mFaces + mesh->mNumFaces,
                                [](const aiFace& face) { return face.mNumIndices == 3; }))
            << file;
      }
    }
  }
}

TEST(AssetFilesTest, BoundarySphereIsTheUnitSphereSoTheArenaRadiusIs1800) {
  const Model sphere = loadModel("BoundarySphere.dae");
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_FLOAT_EQ(sphere.low[axis], -1.0f);
    EXPECT_FLOAT_EQ(sphere.high[axis], 1.0f);
  }
  for (const auto& p : sphere.positions) {
    EXPECT_NEAR(glm::length(p), 1.0f, 1e-5f);
  }
  EXPECT_FLOAT_EQ(0.6f * 1500.0f * sphere.extent().x, 1800.0f);
}

TEST(AssetFilesTest, CylinderRunsFromMinusOneToOneAlongZWithRadiusOne) {
  const Model cylinder = loadModel("cylinder.dae");
  EXPECT_FLOAT_EQ(cylinder.low.z, -1.0f);
  EXPECT_FLOAT_EQ(cylinder.high.z, 1.0f);
  float widest = 0.0f;
  for (const auto& p : cylinder.positions) {
    widest = std::max(widest, glm::length(glm::vec2(p)));
  }
  EXPECT_NEAR(widest, 1.0f, 1e-5f);
  EXPECT_NEAR(cylinder.extent().x, 2.0f, 1e-5f);
}

TEST(AssetFilesTest, AsteroidIsAboutUnitSizeWithADiffuseMapAndAMatchingNormalMap) {
  const Model asteroid = loadModel("asteroidLessComplex.dae");
  const glm::vec3 extent = asteroid.extent();
  EXPECT_NEAR(std::max({extent.x, extent.y, extent.z}), 2.0f, 0.2f);
  EXPECT_LT(glm::length(asteroid.centre()), 0.2f);
  EXPECT_TRUE(asteroid.hasUvs);
  EXPECT_EQ(asteroid.diffuseTexture, "asteroid_diffuse.jpg");
  EXPECT_EQ(asteroid.normalTexture, "asteroid_normal.png");
  expectImageBits(asteroid.diffuseTexture, 24);
  expectImageBits(asteroid.normalTexture, 32);

  // A flat normal map would be wasted: its texels must actually tilt, mostly outwards (blue high).
  const Bitmap normals = loadImage(asteroid.normalTexture);
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

TEST(AssetFilesTest, ShipHullPointsItsNoseAlongMinusZWithItsTopUp) {
  const Model hull = loadModel("ship2.dae", hullTransform());
  const glm::vec3 size = hull.extent();
  EXPECT_NEAR(size.z, 3.0f, 0.4f);
  EXPECT_NEAR(size.x, 2.4f, 0.4f);
  EXPECT_NEAR(size.y, 0.8f, 0.2f);
  EXPECT_LT(glm::length(hull.centre()), 0.3f);

  // The front quarter is a slim nose; the wings sweep back to the widest part.
  const float frontEnd = hull.low.z + 0.25f * size.z;
  const auto [noseLow, noseHigh] = hull.boundsWhere([&](const glm::vec3& p) { return p.z < frontEnd; });
  EXPECT_LT(noseHigh.x - noseLow.x, 0.3f * size.x);
  // Canopy and fins rise well above the origin; the belly hangs only a little below it.
  EXPECT_GT(hull.high.y, 1.5f * -hull.low.y);
  // Nothing near the pilot's camera, at (0, 0.5, -1.1), blocks the view ahead.
  const auto [frontLow, frontHigh] = hull.boundsWhere([](const glm::vec3& p) { return p.z < -0.9f; });
  EXPECT_LT(frontHigh.y, 0.3f);

  EXPECT_TRUE(hull.hasUvs);
  EXPECT_EQ(hull.diffuseTexture, "ship_hull.jpg");
  expectImageBits(hull.diffuseTexture, 24);
}

TEST(AssetFilesTest, GunHangsBelowTheHullWithItsBarrelOneUnitDownAlongMinusZ) {
  const Model hull = loadModel("ship2.dae", hullTransform());
  const Model gun = loadModel("SpaceshipGun.dae", gunTransform());
  EXPECT_NEAR(gun.low.z, -2.0f, 0.1f);
  EXPECT_GE(gun.high.y, hull.low.y);  // the strut reaches into the belly
  EXPECT_LT(gun.extent().x, 0.4f);

  const auto [barrelLow, barrelHigh] = gun.boundsWhere([](const glm::vec3& p) { return p.z < -1.0f; });
  EXPECT_LT(barrelHigh.y, hull.low.y);
  EXPECT_NEAR(0.5f * (barrelLow.y + barrelHigh.y), -1.0f, 0.02f);
  EXPECT_NEAR(0.5f * (barrelLow.x + barrelHigh.x), 0.0f, 0.02f);
  EXPECT_LT(barrelHigh.y - barrelLow.y, 0.25f);
}

// OpenGL's cube-map addressing for the targets +X, -X, +Y, -Y, +Z, -Z: the face's major axis and the
// directions in which its s and t coordinates grow; the game loads the files in this order.
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

TEST(AssetFilesTest, SkyboxFacesAreEqualSquare24BitPictures) {
  const Bitmap first = loadImage(CUBE_FACES[0].file);
  ASSERT_TRUE(first);
  for (const CubeFace& face : CUBE_FACES) {
    const Bitmap image = loadImage(face.file);
    ASSERT_TRUE(image) << face.file;
    EXPECT_EQ(FreeImage_GetBPP(image.get()), 24u) << face.file;
    EXPECT_EQ(FreeImage_GetWidth(image.get()), FreeImage_GetWidth(first.get())) << face.file;
    EXPECT_EQ(FreeImage_GetHeight(image.get()), FreeImage_GetWidth(first.get())) << face.file;
  }
}

// Along each of the cube's twelve edges, the texels on either side show the same sky. Comparing
// against one face read backwards along the edge tells a real seam from the stars' own contrast.
TEST(AssetFilesTest, SkyboxFacesMeetWithoutSeams) {
  std::vector<Bitmap> faces;
  for (const CubeFace& face : CUBE_FACES) {
    faces.push_back(loadImage(face.file));
    ASSERT_TRUE(faces.back()) << face.file;
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
