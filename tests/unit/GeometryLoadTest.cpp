#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>

#include "scene/Geometry.h"
#include "scene/Image.h"
#include "scene/Texture.h"
#include "tests/support/TestAssets.h"

// No OpenGL context anywhere in this file: models decode on the CPU and upload only when first drawn.
namespace voidskirmish::scene {
namespace {

using voidskirmish::testing::MaterialSpec;
using voidskirmish::testing::TempFolder;
using voidskirmish::testing::makeQuad;
using voidskirmish::testing::makeStrip;
using voidskirmish::testing::rgba;
using voidskirmish::testing::writeModel;

Geometry load(const std::string& path, glm::mat4 vertexTransform = glm::mat4(1.0f),
              glm::mat4 modelMatrix = glm::mat4(1.0f)) {
  return Geometry(path, modelMatrix, nullptr, vertexTransform);
}

glm::vec3 vertexOf(const std::vector<float>& list, size_t vertex) {
  return {list[3 * vertex], list[3 * vertex + 1], list[3 * vertex + 2]};
}

class GeometryLoadTest : public ::testing::Test {
 protected:
  std::string model(const std::vector<aiMesh*>& meshes, const std::vector<MaterialSpec>& materials = {{}}) {
    const std::string path = folder.file("model" + std::to_string(++written) + ".dae");
    writeModel(path, meshes, materials);
    return path;
  }
  std::string picture(const std::string& name, int width, int height, int bitsPerPixel) {
    voidskirmish::testing::writeImage(folder.file(name), FIF_PNG, width, height, bitsPerPixel,
                                      [](int x, int y) { return rgba(x * 40, y * 40, 200, 128); });
    return folder.textureName(name);
  }

  TempFolder folder;
  int written = 0;
};

TEST_F(GeometryLoadTest, AllMeshesBecomeOneTriangleListWithOwnIndices) {
  Geometry geometry = load(model({makeStrip(10), makeStrip(20, 5.0f)}));
  EXPECT_EQ(geometry.indexCount, 90u);
  EXPECT_EQ(geometry.positions.size(), 270u);
  EXPECT_EQ(geometry.normals.size(), 270u);
  EXPECT_EQ(geometry.tangents.size(), 270u);
  EXPECT_EQ(geometry.bitangents.size(), 270u);
  EXPECT_EQ(geometry.uvs.size(), 180u);
  for (std::uint32_t i = 0; i < geometry.indexCount; ++i) {
    ASSERT_EQ(geometry.indices[i], i);
  }
  // The longer strip spans x from 0 to 21, and the two strips y from 0 to 6.
  EXPECT_NEAR(geometry.boundingSphere.w, 0.6f * 21.0f, 1e-4f);
}

TEST_F(GeometryLoadTest, ColoursWithoutTexturesLeaveTheTextureFlagsOff) {
  MaterialSpec material;
  material.diffuse = aiColor3D(0.2f, 0.4f, 0.6f);
  material.specular = aiColor3D(0.5f, 0.5f, 0.25f);
  Geometry geometry = load(model({makeQuad(1.0f)}, {material}));
  EXPECT_FALSE(geometry.hasTexture);
  EXPECT_FALSE(geometry.hasNormalMap);
  EXPECT_TRUE(geometry.hasLighting);
  EXPECT_EQ(geometry.texture, nullptr);
  EXPECT_EQ(geometry.normalTexture, nullptr);
  EXPECT_NEAR(glm::distance(geometry.diffuseColor, glm::vec3(0.2f, 0.4f, 0.6f)), 0.0f, 1e-5f);
  EXPECT_NEAR(glm::distance(geometry.specularColor, glm::vec3(0.5f, 0.5f, 0.25f)), 0.0f, 1e-5f);
}

TEST_F(GeometryLoadTest, VertexTransformScalesPositionsNormalsAndRadius) {
  const std::string path = model({makeQuad(1.0f)});
  Geometry plain = load(path);
  Geometry doubled = load(path, glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)));
  EXPECT_NEAR(plain.boundingSphere.w, 1.2f, 1e-5f);  // 0.6 × the quad's side of 2
  EXPECT_NEAR(doubled.boundingSphere.w, 2.4f, 1e-5f);
  for (size_t v = 0; v < plain.indexCount; ++v) {
    EXPECT_NEAR(glm::distance(vertexOf(doubled.positions, v), 2.0f * vertexOf(plain.positions, v)), 0.0f, 1e-5f);
    // Normals go through the same matrix and are not renormalised.
    EXPECT_NEAR(glm::length(vertexOf(plain.normals, v)), 1.0f, 1e-4f);
    EXPECT_NEAR(glm::length(vertexOf(doubled.normals, v)), 2.0f, 1e-4f);
  }
}

TEST_F(GeometryLoadTest, VertexTransformOffsetMovesPositionsButNotNormals) {
  const std::string path = model({makeQuad(1.0f)});
  Geometry plain = load(path);
  const glm::vec3 offset(-1.0f, 0.0f, 1.9f);
  Geometry moved = load(path, glm::translate(glm::mat4(1.0f), offset));
  for (size_t v = 0; v < plain.indexCount; ++v) {
    EXPECT_NEAR(glm::distance(vertexOf(moved.positions, v), vertexOf(plain.positions, v) + offset), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(vertexOf(moved.normals, v), vertexOf(plain.normals, v)), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(vertexOf(moved.tangents, v), vertexOf(plain.tangents, v)), 0.0f, 1e-5f);
  }
}

TEST_F(GeometryLoadTest, BoundingSphereFollowsTheModelMatrix) {
  const glm::mat4 start = glm::translate(glm::mat4(1.0f), glm::vec3(10, 20, 30));
  Geometry geometry = load(model({makeQuad(1.0f)}), glm::mat4(1.0f), start);
  EXPECT_EQ(glm::vec3(geometry.boundingSphere), glm::vec3(10, 20, 30));
  geometry.rotateY(1.0f);
  geometry.moveX(0.0f);
  geometry.moveZ(4.0f);
  EXPECT_NEAR(glm::distance(glm::vec3(geometry.boundingSphere), glm::vec3(geometry.modelMatrix[3])), 0.0f, 1e-5f);
  EXPECT_NEAR(geometry.boundingSphere.w, 1.2f, 1e-5f);
}

TEST_F(GeometryLoadTest, MeshWithoutUvsReadsZeroAndDefaultTangents) {
  Geometry geometry = load(model({makeQuad(1.0f, 0.0f, false)}));
  ASSERT_EQ(geometry.indexCount, 6u);
  for (float uv : geometry.uvs) {
    EXPECT_EQ(uv, 0.0f);
  }
  // Tangents need texture coordinates; without them every vertex gets (0, 0, 1).
  for (size_t v = 0; v < geometry.indexCount; ++v) {
    EXPECT_EQ(vertexOf(geometry.tangents, v), glm::vec3(0, 0, 1));
  }
}

TEST_F(GeometryLoadTest, PointsAndLinesAreLeftOutOfTheTriangleList) {
  using voidskirmish::testing::makeMesh;
  aiMesh* strays = makeMesh({{{50, 0, 0}, {}}, {{60, 0, 0}, {}}, {{70, 0, 0}, {}}}, {{0}, {1, 2}});
  Geometry geometry = load(model({makeQuad(1.0f), strays}));
  EXPECT_EQ(geometry.indexCount, 6u);
  EXPECT_NEAR(geometry.boundingSphere.w, 1.2f, 1e-5f);  // the far-away strays do not size the sphere
}

TEST_F(GeometryLoadTest, MaterialTexturesDecodeAtLoadAndWaitForTheirUpload) {
  MaterialSpec material;
  material.diffuseMap = picture("diffuse.png", 5, 3, 24);
  material.normalMap = picture("normals.png", 4, 2, 32);
  Geometry geometry = load(model({makeQuad(1.0f)}, {material}));
  ASSERT_TRUE(geometry.hasTexture);
  ASSERT_TRUE(geometry.hasNormalMap);
  EXPECT_EQ(geometry.texture->width(0), 5u);
  EXPECT_EQ(geometry.texture->height(0), 3u);
  EXPECT_EQ(geometry.normalTexture->width(0), 4u);
  EXPECT_FALSE(geometry.texture->uploaded());
  EXPECT_FALSE(geometry.normalTexture->uploaded());
}

TEST_F(GeometryLoadTest, LastMaterialWinsAndUnreadableTexturesStayEmpty) {
  MaterialSpec first, second;
  first.diffuseMap = picture("first.png", 2, 2, 24);
  first.normalMap = picture("bump.png", 8, 8, 32);
  second.diffuseMap = picture("second.png", 7, 1, 24);
  second.diffuse = aiColor3D(0.3f, 0.3f, 0.3f);  // written as a colour, since the texture takes the diffuse slot
  aiMesh* secondQuad = makeQuad(0.5f, 1.0f);
  secondQuad->mMaterialIndex = 1;
  Geometry geometry = load(model({makeQuad(1.0f), secondQuad}, {first, second}));
  EXPECT_EQ(geometry.texture->width(0), 7u);
  EXPECT_EQ(geometry.normalTexture->width(0), 8u);  // the second material has none, so the first one's stays

  MaterialSpec missing;
  missing.diffuseMap = folder.textureName("nowhere.png");
  const std::string path = model({makeQuad(1.0f)}, {missing});
  ::testing::internal::CaptureStdout();
  Geometry broken = load(path);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load dib\n");
  EXPECT_TRUE(broken.hasTexture);
  EXPECT_EQ(broken.texture->width(0), 0u);
}

// The loader's failures end the program: its message on standard output, no line end, exit code 1.
void expectLoaderExit(const std::string& path) {
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);  // death tests can only match what reaches standard error
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);  // no key press to wait for
        load(path);
      },
      ::testing::ExitedWithCode(1), "^Could not load model\\. $")
      << path;
}

TEST_F(GeometryLoadTest, UnreadableModelsEndTheProgram) {
  const std::string noise = folder.file("noise.dae");
  voidskirmish::testing::writeBytes(noise, std::string("\x13\x99 not a model \x01\xfe", 17));
  expectLoaderExit(noise);

  const std::string whole = model({makeQuad(1.0f)});
  const std::string cut = folder.file("cut.dae");
  const std::string text = voidskirmish::testing::readBytes(whole);
  voidskirmish::testing::writeBytes(cut, text.substr(0, text.size() / 2));
  expectLoaderExit(cut);

  expectLoaderExit(folder.file("missing.dae"));
  expectLoaderExit(model({}));
  using voidskirmish::testing::makeMesh;
  expectLoaderExit(model({makeMesh({{{0, 0, 0}, {}}, {{1, 0, 0}, {}}}, {{0, 1}})}));  // lines only
}

struct GameModel {
  const char* file;
  float radius;  // 0 where the model's size is free
  bool textured;
  bool normalMapped;
};

class GameModelTest : public ::testing::TestWithParam<GameModel> {};

TEST_P(GameModelTest, LoadsWithItsSizeAndTextures) {
  const GameModel& expected = GetParam();
  ::testing::internal::CaptureStdout();
  Geometry geometry = load(std::string("Voidskirmish/Material/") + expected.file);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "a texture of the model did not decode";
  EXPECT_GT(geometry.indexCount, 0u);
  if (expected.radius > 0.0f) {
    EXPECT_NEAR(geometry.boundingSphere.w, expected.radius, 1e-3f);
  }
  EXPECT_EQ(geometry.hasTexture, expected.textured);
  EXPECT_EQ(geometry.hasNormalMap, expected.normalMapped);
  if (expected.textured) {
    EXPECT_GT(geometry.texture->width(0), 0u);
  }
  if (expected.normalMapped) {
    EXPECT_GT(geometry.normalTexture->width(0), 0u);
  }
}

// The arena sphere and the beam's cylinder are unit-sized (radius 0.6 × 2 before the game scales them).
INSTANTIATE_TEST_SUITE_P(Files, GameModelTest,
                         ::testing::Values(GameModel{"BoundarySphere.dae", 1.2f, false, false},
                                           GameModel{"cylinder.dae", 1.2f, false, false},
                                           GameModel{"asteroidLessComplex.dae", 0.0f, true, true},
                                           GameModel{"ship2.dae", 0.0f, true, false},
                                           GameModel{"SpaceshipGun.dae", 0.0f, false, false}));

class ImageDecodeTest : public GeometryLoadTest {
 protected:
  // Returns what decoding printed.
  std::string decode(const std::string& name, Image& into) {
    ::testing::internal::CaptureStdout();
    into = Image::decode(folder.file(name));
    return ::testing::internal::GetCapturedStdout();
  }
  void writeJpeg(const std::string& name) {
    voidskirmish::testing::writeImage(folder.file(name), FIF_JPEG, 16, 8, 24,
                                      [](int x, int) { return rgba(x * 16, 0, 0); });
  }
};

TEST_F(ImageDecodeTest, SignatureGoesBeforeExtension) {
  writeJpeg("photo.png");
  Image image;
  EXPECT_EQ(decode("photo.png", image), "");
  EXPECT_EQ(image.width(), 16u);
  EXPECT_EQ(image.height(), 8u);
  EXPECT_EQ(image.bitsPerPixel(), 24u);
}

TEST_F(ImageDecodeTest, UndecodableFilesSayWhyAndStayEmpty) {
  voidskirmish::testing::writeBytes(folder.file("noise.png"), std::string(64, '\x5a'));
  voidskirmish::testing::writeBytes(folder.file("noise.qqq"), std::string(64, '\x5a'));
  writeJpeg("whole.jpg");
  voidskirmish::testing::writeBytes(folder.file("cut.jpg"),
                                    voidskirmish::testing::readBytes(folder.file("whole.jpg")).substr(0, 200));
  Image image;
  EXPECT_EQ(decode("noise.png", image), "Failed to load dib\n");
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(decode("noise.qqq", image), "FIF_UNKNOWN\n");
  EXPECT_EQ(decode("missing.png", image), "Failed to load dib\n");
  EXPECT_EQ(decode("cut.jpg", image), "Failed to load dib\n");
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(image.width(), 0u);
  EXPECT_EQ(image.bits(), nullptr);
}

TEST_F(ImageDecodeTest, ConversionRepacksGreyPicturesForTheUploadFormat) {
  voidskirmish::testing::writeImage(folder.file("grey.png"), FIF_PNG, 3, 1, 8,
                                    [](int x, int) { return rgba(x * 100, 0, 0); });
  Image image;
  decode("grey.png", image);
  ASSERT_EQ(image.bitsPerPixel(), 8u);
  image.convertTo(32);
  ASSERT_EQ(image.bitsPerPixel(), 32u);
  EXPECT_EQ(image.bits()[4 + FI_RGBA_GREEN], 100);
  EXPECT_EQ(image.bits()[8 + FI_RGBA_ALPHA], 255);
}

}  // namespace
}  // namespace voidskirmish::scene
