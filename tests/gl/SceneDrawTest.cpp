#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "game/RenderSettings.h"
#include "render/Frustum.h"
#include "scene/Geometry.h"
#include "scene/Skybox.h"
#include "scene/Texture.h"
#include "tests/gl/RenderGlTest.h"
#include "tests/support/TestAssets.h"

namespace voidskirmish::scene {
namespace {

using voidskirmish::testing::MaterialSpec;
using voidskirmish::testing::rgba;

constexpr int size = 128;
const glm::u8vec4 ORANGE(255, 128, 0, 255);

// Draws into a 128 × 128 RGBA8 + depth frame buffer of its own with the game's model program.
class SceneDrawTest : public voidskirmish::testing::RenderGlTest {
 protected:
  void SetUp() override {
    RenderGlTest::SetUp();
    glUseProgram(program->program);
    clearColour = pixel(0, 0);
  }
  void TearDown() override {
    glUseProgram(0);
    render::frustum = render::Frustum{};
    RenderGlTest::TearDown();
  }

  static void clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
  std::unique_ptr<Geometry> quadModel(const MaterialSpec& material = {}) {
    const std::string path = folder.file("quad" + std::to_string(++written) + ".dae");
    voidskirmish::testing::writeModel(path, {voidskirmish::testing::makeQuad(1.0f)}, {material});
    auto model = std::make_unique<Geometry>(path, glm::mat4(1.0f), program.get(), glm::mat4(1.0f));
    model->hasLighting = false;  // plain colours: what the texture or material says reaches the screen
    return model;
  }
  std::unique_ptr<Geometry> orangeModel() {
    MaterialSpec material;
    material.diffuse = aiColor3D(1.0f, 0.5f, 0.0f);
    return quadModel(material);
  }
  void draw(Geometry& model) {
    model.draw(program.get(), view, projection, eye, &model.boundingSphere, &culled, &settings);
  }
  int coveredPixels() const {
    const std::vector<unsigned char> all = readPixels(size, size);
    int covered = 0;
    for (size_t i = 0; i < all.size(); i += 4) {
      covered += glm::u8vec4(all[i], all[i + 1], all[i + 2], all[i + 3]) != clearColour ? 1 : 0;
    }
    return covered;
  }

  voidskirmish::testing::OffscreenTarget target{size, size, true, {0.25f, 0.5f, 0.75f, 1.0f}};
  std::unique_ptr<ShaderProgram> program = loadProgram("draw");
  glm::u8vec4 clearColour{0};
  game::RenderSettings settings;  // the start-up defaults
  std::uint32_t culled = 0;
  glm::vec3 eye{0.0f, 0.0f, 3.0f};
  glm::mat4 view = glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
  glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
  voidskirmish::testing::TempFolder folder;
  int written = 0;
};

GLint integer(GLenum what) {
  GLint value[2] = {0, 0};
  glGetIntegerv(what, value);
  return value[0];
}

TEST_F(SceneDrawTest, ModelCoversItsShapeInItsColourAndWireframeOnlyItsEdges) {
  auto model = orangeModel();
  draw(*model);
  EXPECT_EQ(pixel(size / 2, size / 2), ORANGE);
  EXPECT_EQ(pixel(2, 2), clearColour);
  EXPECT_EQ(pixel(size - 3, size / 2), clearColour);
  // The quad's side of 2 at distance 3 under a 60° view fills 1 / tan 30° / 3 of the frame's height.
  const double side = size / (3.0 * std::tan(glm::radians(30.0)));
  const int filled = coveredPixels();
  EXPECT_NEAR(filled, side * side, 4 * side);
  EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);

  clear();
  settings.wireframe = settings.colorWireframeModeEnabled = true;
  settings.colorWireframeMode = glm::vec3(1, 0, 0);
  draw(*model);
  const int edges = coveredPixels();
  EXPECT_GT(edges, 0);
  EXPECT_LT(edges, filled / 4);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(255, 0, 0, 255));  // on the diagonal
  EXPECT_EQ(pixel(size / 2 + 15, size / 2 - 15), clearColour);     // inside the quad, away from its edges
  EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
}

TEST_F(SceneDrawTest, CullingSkipsOnlySpheresWhollyBehindAPlane) {
  auto model = quadModel();
  // Every plane x = -d with +X inside: at d = -10 the model at the origin, radius 1.2, lies 10 behind them.
  const auto drawBehindPlanes = [&](bool culling, float d) {
    settings.frustumCulling = culling;
    for (render::FrustumPlane& plane : render::frustum.planes) {
      plane.normal = glm::vec3(1, 0, 0);
      plane.d = d;
    }
    clear();
    draw(*model);
    return coveredPixels();
  };
  EXPECT_EQ(drawBehindPlanes(true, -10.0f), 0);
  EXPECT_EQ(culled, 1u);
  EXPECT_GT(drawBehindPlanes(true, -model->boundingSphere.w), 0);  // touching from outside: still drawn
  EXPECT_GT(drawBehindPlanes(false, -10.0f), 0);
  EXPECT_EQ(culled, 1u);
}

// The game's own files: every model uploads and shows, textures and normal maps included.
TEST_F(SceneDrawTest, GameModelsDrawWithTheirOwnPrograms) {
  const auto normalMapping = loadProgram("normalMapping");
  for (const char* file : {"ship2.dae", "SpaceshipGun.dae", "cylinder.dae", "BoundarySphere.dae",
                           "asteroidLessComplex.dae"}) {
    const ShaderProgram* shader = std::string(file) == "asteroidLessComplex.dae" ? normalMapping.get() : program.get();
    clear();
    Geometry model(std::string("Voidskirmish/Material/") + file, glm::mat4(1.0f), shader, glm::mat4(1.0f));
    model.rotateY(0.6f);
    model.rotateX(0.4f);
    glUseProgram(shader->program);
    const glm::vec3 from(0.0f, 0.0f, -2.5f * model.boundingSphere.w);  // on the side the light comes from
    model.draw(shader, glm::lookAt(from, glm::vec3(0.0f), glm::vec3(0, 1, 0)), projection, from,
               &model.boundingSphere, &culled, &settings);
    EXPECT_GT(coveredPixels(), size * size / 10) << file;
  }
}

// A 3 × 2 texture (24-bit rows padded to 12 bytes) and a flat normal map on a quad that fills the frame.
class TexturedDrawTest : public SceneDrawTest {
 protected:
  void SetUp() override {
    SceneDrawTest::SetUp();
    voidskirmish::testing::writeImage(folder.file("texels.png"), FIF_PNG, 3, 2, 24, texel);
    voidskirmish::testing::writeImage(folder.file("bumps.png"), FIF_PNG, 2, 2, 32,
                                      [](int, int) { return rgba(128, 128, 255); });
    view = projection = glm::mat4(1.0f);
    settings.mipmapMode = 0;
  }
  std::unique_ptr<Geometry> texturedModel(const char* diffuseMap, const char* normalMap = nullptr) {
    MaterialSpec material;
    material.diffuseMap = folder.textureName(diffuseMap);
    if (normalMap != nullptr) {
      material.normalMap = folder.textureName(normalMap);
    }
    return quadModel(material);
  }
  static RGBQUAD texel(int x, int y) { return rgba(40 + 100 * x, 60 + 150 * y, 200 - 90 * x); }
  static glm::u8vec4 expected(int x, int y) {
    const RGBQUAD c = texel(x, y);
    return {c.rgbRed, c.rgbGreen, c.rgbBlue, 255};
  }
  static int centreOf(int texel, int count) { return (2 * texel + 1) * size / (2 * count); }
};

TEST_F(TexturedDrawTest, NearestShowsEveryTexelInPlaceBilinearBlendsAndTheSwitchKeepsTheNormalMap) {
  auto model = texturedModel("texels.png", "bumps.png");
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // as other code may leave it
  settings.samplingMode = 0;
  draw(*model);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(pixel(centreOf(x, 3), centreOf(y, 2)), expected(x, y)) << "texel " << x << ", " << y;
    }
  }
  EXPECT_EQ(pixel(size / 3 - 3, centreOf(0, 2)), expected(0, 0));
  settings.samplingMode = 1;
  draw(*model);
  EXPECT_NE(pixel(size / 3 - 3, centreOf(0, 2)), expected(0, 0));

  settings.textures = false;
  draw(*model);
  GLint hasTexture = -1, hasNormalMap = -1;
  glGetUniformiv(program->program, glGetUniformLocation(program->program, "hasTexture"), &hasTexture);
  glGetUniformiv(program->program, glGetUniformLocation(program->program, "hasNormalMap"), &hasNormalMap);
  EXPECT_EQ(hasTexture, 0);
  EXPECT_EQ(hasNormalMap, 1);
  glActiveTexture(GL_TEXTURE1);
  EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), model->normalTexture->glName());
  glActiveTexture(GL_TEXTURE0);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(255, 255, 255, 255));  // the material's white, untextured
}

TEST_F(TexturedDrawTest, UndecodableTextureDrawsEmptyAndPlayGoesOn) {
  voidskirmish::testing::writeBytes(folder.file("broken.png"), std::string(100, '\x17'));
  ::testing::internal::CaptureStdout();
  auto model = texturedModel("broken.png");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load dib\n");
  ASSERT_TRUE(model->hasTexture);
  draw(*model);
  EXPECT_TRUE(model->texture->uploaded());
  EXPECT_EQ(model->texture->width(0), 0u);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(0, 0, 0, 255));  // an empty texture samples black
}

TEST_F(SceneDrawTest, SkyFillsTheViewTurnsWithTheCameraNeverMovesAndNeverHidesWhatWasDrawn) {
  const auto skyProgram = loadProgram("skybox");
  Skybox skybox(skyProgram.get());
  const auto drawSky = [&](const glm::mat4& skyView) {
    clear();
    glUseProgram(skyProgram->program);
    skybox.draw(eye, &settings, skyView, projection);
    return readPixels(size, size);
  };
  const std::vector<unsigned char> ahead = drawSky(view);
  EXPECT_EQ(coveredPixels(), size * size);
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
  EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
  EXPECT_TRUE(drawSky(glm::translate(view, glm::vec3(300, -40, 1000))) == ahead) << "moving changed the sky";
  EXPECT_TRUE(drawSky(glm::rotate(view, 0.5f, glm::vec3(0, 1, 0))) != ahead) << "turning left the sky as it was";

  auto model = orangeModel();
  clear();
  glUseProgram(program->program);
  draw(*model);
  glUseProgram(skyProgram->program);
  skybox.draw(eye, &settings, view, projection);
  EXPECT_EQ(pixel(size / 2, size / 2), ORANGE);
}

}  // namespace
}  // namespace voidskirmish::scene
