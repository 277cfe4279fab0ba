#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "scene/Geometry.h"
#include "scene/Image.h"
#include "scene/Texture.h"
#include "tests/support/Printed.h"
#include "tests/support/TestAssets.h"

// No OpenGL context in this file: models decode on the CPU and upload only when first drawn.
namespace voidskirmish::scene {
namespace {

using namespace voidskirmish::testing;

Geometry load(const std::string& path, glm::mat4 vertexTransform = glm::mat4(1.0f),
              glm::mat4 modelMatrix = glm::mat4(1.0f)) {
  return Geometry(path, modelMatrix, nullptr, vertexTransform);
}

glm::vec3 vertexOf(const std::vector<float>& list, size_t vertex) {
  return {list[3 * vertex], list[3 * vertex + 1], list[3 * vertex + 2]};
}

class GeometryLoadTest : public ::testing::Test {
 protected:
  // A PNG in the folder, named as a material names it.
  std::string picture(const std::string& name, int width, int height, int bitsPerPixel) {
    writeImage(folder.file(name), FIF_PNG, width, height, bitsPerPixel,
               [](int x, int y) { return rgba(x * 40, y * 40, 200, 128); });
    return folder.textureName(name);
  }

  TempFolder folder;
};

TEST_F(GeometryLoadTest, TrianglesOfAllMeshesBecomeOneListWithoutPointsAndLines) {
  const std::string strays = "o strays\nv 50 0 0\nv 60 0 0\nv 70 0 0\np -3\nl -2 -1\n";
  Geometry geometry = load(folder.model(quad(1.0f) + strays + "o bare\n" + quad(2.0f, 5.0f, false)));
  ASSERT_EQ(geometry.indexCount, 12u);
  for (const auto* list : {&geometry.positions, &geometry.normals, &geometry.tangents, &geometry.bitangents}) {
    EXPECT_EQ(list->size(), 36u);
  }
  EXPECT_EQ(geometry.uvs.size(), 24u);
  for (std::uint32_t i = 0; i < geometry.indexCount; ++i) {
    ASSERT_EQ(geometry.indices[i], i);
  }
  // x and y span −2 to 2 and z 0 to 5: 0.6 of the largest extent; the far-away strays do not size the sphere.
  EXPECT_NEAR(geometry.boundingSphere.w, 3.0f, 1e-5f);
  // The second quad has no uvs: they read 0 and its tangents default to +Z.
  for (size_t v = 6; v < 12; ++v) {
    EXPECT_EQ(glm::vec2(geometry.uvs[2 * v], geometry.uvs[2 * v + 1]), glm::vec2(0.0f));
    EXPECT_EQ(vertexOf(geometry.tangents, v), glm::vec3(0, 0, 1));
  }
}

TEST_F(GeometryLoadTest, VertexTransformMovesPositionsAndScalesNormalsAndTheSphereFollowsTheModelMatrix) {
  const std::string path = folder.model(quad(1.0f));
  Geometry plain = load(path);
  Geometry doubled = load(path, glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)));
  const glm::vec3 offset(-1.0f, 0.0f, 1.9f);
  Geometry moved = load(path, glm::translate(glm::mat4(1.0f), offset));
  EXPECT_NEAR(plain.boundingSphere.w, 1.2f, 1e-5f);  // 0.6 × the quad's side of 2
  EXPECT_NEAR(doubled.boundingSphere.w, 2.4f, 1e-5f);
  for (size_t v = 0; v < plain.indexCount; ++v) {
    const glm::vec3 position = vertexOf(plain.positions, v);
    EXPECT_NEAR(glm::distance(vertexOf(doubled.positions, v), 2.0f * position), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(vertexOf(moved.positions, v), position + offset), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::length(vertexOf(plain.normals, v)), 1.0f, 1e-4f);
    EXPECT_NEAR(glm::length(vertexOf(doubled.normals, v)), 2.0f, 1e-4f);
    EXPECT_NEAR(glm::distance(vertexOf(moved.normals, v), vertexOf(plain.normals, v)), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(vertexOf(moved.tangents, v), vertexOf(plain.tangents, v)), 0.0f, 1e-5f);
  }

  Geometry placed = load(path, glm::mat4(1.0f), glm::translate(glm::mat4(1.0f), glm::vec3(10, 20, 30)));
  EXPECT_EQ(glm::vec3(placed.boundingSphere), glm::vec3(10, 20, 30));
  placed.rotateY(1.0f);
  placed.moveZ(4.0f);
  EXPECT_NEAR(glm::distance(glm::vec3(placed.boundingSphere), glm::vec3(placed.modelMatrix[3])), 0.0f, 1e-5f);
  EXPECT_NEAR(placed.boundingSphere.w, 1.2f, 1e-5f);
}

TEST_F(GeometryLoadTest, MaterialColoursAndTexturesDecodeAtLoadAndWaitForTheirUpload) {
  Geometry plain = load(folder.model("usemtl a\n" + quad(1.0f), "newmtl a\nKd 0.2 0.4 0.6\nKs 0.5 0.5 0.25\n"));
  EXPECT_FALSE(plain.hasTexture || plain.hasNormalMap);
  EXPECT_TRUE(plain.hasLighting);
  EXPECT_TRUE(plain.texture == nullptr && plain.normalTexture == nullptr);
  EXPECT_NEAR(glm::distance(plain.diffuseColor, glm::vec3(0.2f, 0.4f, 0.6f)), 0.0f, 1e-5f);
  EXPECT_NEAR(glm::distance(plain.specularColor, glm::vec3(0.5f, 0.5f, 0.25f)), 0.0f, 1e-5f);

  // Two materials: the last one's diffuse map wins, the first one's normal map stays as the second has none.
  const std::string materials = "newmtl a\nmap_Kd " + picture("first.png", 2, 2, 24) + "\nnorm " +
                                picture("bump.png", 8, 8, 32) + "\nnewmtl b\nmap_Kd " +
                                picture("second.png", 7, 3, 24) + "\n";
  Geometry textured = load(folder.model("usemtl a\n" + quad(1.0f) + "usemtl b\n" + quad(0.5f, 1.0f), materials));
  ASSERT_TRUE(textured.hasTexture && textured.hasNormalMap);
  EXPECT_EQ(glm::uvec3(textured.texture->width(0), textured.texture->height(0), textured.normalTexture->width(0)),
            glm::uvec3(7, 3, 8));
  EXPECT_FALSE(textured.texture->uploaded() || textured.normalTexture->uploaded());
}

// The loader's failures end the program: its message on standard output, no line end, exit code 1.
TEST_F(GeometryLoadTest, UnreadableModelsEndTheProgram) {
  const std::string noise = folder.file("noise.dae");
  writeBytes(noise, std::string("\x13\x99 not a model \x01\xfe", 17));
  const std::string cut = folder.file("cut.dae");
  const std::string text = readBytes("Voidskirmish/Material/cylinder.dae");
  writeBytes(cut, text.substr(0, text.size() / 2));
  mkfifo(folder.file("pipe.dae").c_str(), 0600);  // would block the reader for good
  std::filesystem::create_directory(folder.file("folder.dae"));
  for (const std::string& path : {noise, cut, folder.file("missing.dae"), folder.model("v 0 0 0\nv 1 0 0\n"),
                                  folder.model("v 0 0 0\nv 1 0 0\nl -2 -1\n"), folder.file("pipe.dae"),
                                  folder.file("folder.dae")}) {
    EXPECT_EXIT({ printToStderrWithoutInput(); load(path); }, ::testing::ExitedWithCode(1),
                "^Could not load model\\. Could not load model file " + path + ": .+\n$") << path;
  }
}

TEST_F(GeometryLoadTest, ImagesDecodeBySignatureOrSayWhyAndStayEmpty) {
  Image image;
  const auto decode = [&](const std::string& name, std::uint32_t largestSide = LARGEST_TEXTURE_SIDE) {
    return printed([&] { image = Image::decode(folder.file(name), largestSide); });
  };
  const auto jpeg = [&](const std::string& name) {
    writeImage(folder.file(name), FIF_JPEG, 16, 8, 24, [](int x, int) { return rgba(x * 16, 0, 0); });
  };
  jpeg("photo.png");  // the signature goes before the extension
  EXPECT_EQ(decode("photo.png"), "");
  EXPECT_EQ(glm::uvec3(image.width(), image.height(), image.bitsPerPixel()), glm::uvec3(16, 8, 24));

  writeBytes(folder.file("noise.png"), std::string(64, '\x5a'));
  writeBytes(folder.file("noise.qqq"), std::string(64, '\x5a'));
  jpeg("whole.jpg");
  writeBytes(folder.file("cut.jpg"), readBytes(folder.file("whole.jpg")).substr(0, 200));
  mkfifo(folder.file("pipe.png").c_str(), 0600);
  std::filesystem::create_directory(folder.file("folder.png"));
  // The JPEG is 16 pixels wide: its header alone refuses it.
  for (const auto& [name, message, largestSide] :
       {std::tuple{"noise.png", "Failed to load dib\n", 64u}, {"noise.qqq", "FIF_UNKNOWN\n", 64u},
        {"missing.png", "Failed to load dib\n", 64u}, {"missing.qqq", "FIF_UNKNOWN\n", 64u},
        {"cut.jpg", "Failed to load dib\n", 64u},
        {"pipe.png", "Failed to load dib\n", 64u}, {"folder.png", "Failed to load dib\n", 64u},
        {"whole.jpg", "Failed to load dib\n", 15u}}) {
    EXPECT_EQ(decode(name, largestSide), message) << name;
    EXPECT_TRUE(image.empty()) << name;
  }
  EXPECT_EQ(image.width(), 0u);
  EXPECT_EQ(image.bits(), nullptr);

  // Grey pictures are repacked for the upload format.
  writeImage(folder.file("grey.png"), FIF_PNG, 3, 1, 8, [](int x, int) { return rgba(x * 100, 0, 0); });
  decode("grey.png");
  ASSERT_EQ(image.bitsPerPixel(), 8u);
  image.convertTo(32);
  ASSERT_EQ(image.bitsPerPixel(), 32u);
  EXPECT_EQ(image.bits()[4 + FI_RGBA_GREEN], 100);
  EXPECT_EQ(image.bits()[8 + FI_RGBA_ALPHA], 255);
}

}  // namespace
}  // namespace voidskirmish::scene
