#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "failure/LoadFailure.h"
#include "scene/Geometry.h"
#include "scene/Image.h"
#include "tests/support/Printed.h"
#include "tests/support/TestAssets.h"

// No OpenGL context in this file: models and pictures decode on the CPU and upload only when first drawn.
namespace voidskirmish::scene {
namespace {

using namespace voidskirmish::testing;
using Box = std::pair<glm::vec3, glm::vec3>;

Geometry load(const std::string& path, glm::mat4 vertexTransform = glm::mat4(1.0f)) {
  return Geometry(path, glm::mat4(1.0f), nullptr, vertexTransform);
}

// The lowest and highest corner of vertices first .. last-1 of a flattened xyz list are the expected ones.
void expectBox(const std::vector<float>& xyz, size_t first, size_t last, const Box& expected) {
  Box found{glm::vec3(1e9f), glm::vec3(-1e9f)};
  for (size_t v = first; v < last; ++v) {
    const glm::vec3 p(xyz[3 * v], xyz[3 * v + 1], xyz[3 * v + 2]);
    found = {glm::min(found.first, p), glm::max(found.second, p)};
  }
  EXPECT_LT(glm::distance(found.first, expected.first) + glm::distance(found.second, expected.second), 1e-4f)
      << "vertices " << first << " to " << last - 1;
}

class GeometryLoadTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

// A quad with uvs, stray points and a line, and a bigger quad without uvs 5 units up, under a load-time
// transform that doubles them and moves them 10 along +X.
TEST_F(GeometryLoadTest, TrianglesOfAllMeshesBecomeOneTransformedListWithoutPointsAndLines) {
  const std::string strays = "o strays\nv 50 0 0\nv 60 0 0\nv 70 0 0\np -3\nl -2 -1\n";
  const glm::mat4 transform = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0)), glm::vec3(2.0f));
  Geometry geometry = load(folder.model(quad(1.0f) + strays + "o bare\n" + quad(2.0f, 5.0f, false)), transform);
  ASSERT_EQ(geometry.indexCount, 12u);
  for (const auto* list : {&geometry.positions, &geometry.normals, &geometry.tangents, &geometry.bitangents}) {
    EXPECT_EQ(list->size(), 36u);
  }
  ASSERT_EQ(geometry.uvs.size(), 24u);
  expectBox(geometry.positions, 0, 6, {{8, -2, 0}, {12, 2, 0}});
  expectBox(geometry.positions, 6, 12, {{6, -4, 10}, {14, 4, 10}});
  // Directions turn and scale but never move: a moved normal would flatten the lighting.
  expectBox(geometry.normals, 0, 12, {{0, 0, 2}, {0, 0, 2}});
  expectBox(geometry.tangents, 0, 6, {{2, 0, 0}, {2, 0, 0}});
  // Without uvs they read 0 and the tangents default to +Z.
  expectBox(geometry.tangents, 6, 12, {{0, 0, 2}, {0, 0, 2}});
  EXPECT_TRUE(std::all_of(geometry.uvs.begin() + 12, geometry.uvs.end(), [](float uv) { return uv == 0.0f; }));
  // 0.6 of the largest extent, z's 10: the far-away strays do not size the sphere.
  EXPECT_NEAR(geometry.boundingSphere.w, 6.0f, 1e-5f);
}

// A model the loader cannot use is refused: its message on standard output without a line end, then a failure
// that names the file and why for standard error, which ends the game (exit code 1, the window closed first).
// Damaged, cut, piped and folder models are started by the real game in tests/e2e/test_robustness.py; here the
// reasons it cannot show whole.
TEST_F(GeometryLoadTest, UnusableModelsAreRefusedNamingTheFileAndWhy) {
  for (const auto& [path, why] : {std::pair{folder.file("missing.dae"), "no such file"},
                                  {folder.model("v 0 0 0\nv 1 0 0\n"), "no triangles"},
                                  {folder.model("v 0 0 0\nv 1 0 0\nl -2 -1\n"), "no triangles"}}) {
    std::string message;
    EXPECT_EQ(printed([&] {
                try {
                  load(path);
                } catch (const failure::LoadFailure& refused) {
                  EXPECT_TRUE(refused.stream == failure::LoadFailure::Stream::Error && refused.closesWindow &&
                              refused.lineEnd == failure::LineEnd::None);
                  message = refused.what();
                }
              }),
              "Could not load model. ");
    EXPECT_EQ(message, "Could not load model file " + path + ": " + why + "\n");
  }
}

// A picture the decoder cannot use: its loader message on standard output, the file and why on standard error,
// and an empty image, which leaves the texture black while play goes on.
TEST_F(GeometryLoadTest, UnusablePicturesAreRefusedWithTheLoadersMessageAndWhy) {
  const auto jpeg = [&](const std::string& name) {
    writeImage(folder.file(name), FIF_JPEG, 16, 8, 24, [](int x, int) { return rgba(x * 16, 0, 0); });
  };
  jpeg("photo.png");  // the signature goes before the extension
  Image image;
  EXPECT_EQ(printed([&] { image = Image::decode(folder.file("photo.png"), 64); }), "");
  EXPECT_EQ(glm::uvec3(image.width(), image.height(), image.bitsPerPixel()), glm::uvec3(16, 8, 24));

  writeBytes(folder.file("noise.png"), std::string(64, '\x5a'));
  writeBytes(folder.file("noise.qqq"), std::string(64, '\x5a'));
  jpeg("whole.jpg");
  std::filesystem::copy_file(folder.file("whole.jpg"), folder.file("cut.jpg"));
  std::filesystem::resize_file(folder.file("cut.jpg"), 200);
  // Headers alone, each claiming 65500 x 65500 pixels, that FreeImage could size only by decoding them whole.
  const auto le32 = [](std::initializer_list<std::uint32_t> words) {
    std::string bytes;
    for (const std::uint32_t word : words) {
      bytes += {char(word), char(word >> 8), char(word >> 16), char(word >> 24)};
    }
    return bytes;
  };
  const std::string sgi("\x01\xda\0\x01\0\x03\xff\xdc\xff\xdc\0\x03", 12);  // big-endian 16-bit sizes
  writeBytes(folder.file("huge.sgi"), sgi + std::string(500, '\0'));
  writeBytes(folder.file("huge.dds"), "DDS " + le32({124, 0x1007, 65500, 65500}) + std::string(56, '\0') +
                                          le32({32, 0x41, 0, 32, 0xff0000, 0xff00, 0xff, 0xff000000, 0x1000}) +
                                          std::string(16, '\0'));
  mkfifo(folder.file("pipe.png").c_str(), 0600);
  std::filesystem::create_directory(folder.file("folder.png"));
  const struct { const char* name; std::uint32_t largestSide; std::string loader, why; } rows[] = {
      {"noise.png", 64, "Failed to load dib", "FreeImage cannot decode it"},
      {"noise.qqq", 64, "FIF_UNKNOWN", "unknown image format"},
      {"missing.png", 64, "Failed to load dib", "no such file"},
      {"missing.qqq", 64, "FIF_UNKNOWN", "no such file"},
      {"cut.jpg", 64, "Failed to load dib", "FreeImage cannot decode it"},
      {"pipe.png", 64, "Failed to load dib", "not a regular file"},
      {"folder.png", 64, "Failed to load dib", "not a regular file"},
      {"huge.sgi", 64, "Failed to load dib", "FreeImage cannot read the size of SGI images before decoding them"},
      {"huge.dds", 64, "Failed to load dib", "FreeImage cannot read the size of DDS images before decoding them"},
      {"whole.jpg", 15, "Failed to load dib", "16 x 8 pixels, more than the largest texture side of 15"},
  };
  for (const auto& row : rows) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(printed([&] { image = Image::decode(folder.file(row.name), row.largestSide); }), row.loader + "\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Could not load image file " + folder.file(row.name) + ": " + row.why + "\n");
    EXPECT_TRUE(image.empty()) << row.name;
  }
}

}  // namespace
}  // namespace voidskirmish::scene
