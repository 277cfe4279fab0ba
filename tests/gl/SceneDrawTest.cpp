#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_precision.hpp>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "game/RenderSettings.h"
#include "render/Frustum.h"
#include "scene/Geometry.h"
#include "scene/ShaderProgram.h"
#include "scene/Skybox.h"
#include "scene/Texture.h"
#include "tests/gl/GlTest.h"
#include "tests/support/TestAssets.h"

namespace voidskirmish::scene {
namespace {

using voidskirmish::testing::MaterialSpec;
using voidskirmish::testing::makeQuad;
using voidskirmish::testing::rgba;

constexpr int size = 128;

// Draws into a 128 × 128 RGBA8 + depth frame buffer of its own with the game's model program.
class SceneDrawTest : public voidskirmish::testing::GlTest {
 protected:
  void SetUp() override {
    framebuffer = makeFramebuffer();
    colour = makeRenderbuffer();
    depth = makeRenderbuffer();
    glBindRenderbuffer(GL_RENDERBUFFER, colour.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, depth.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, size, size);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth.get());
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, size, size);
    program = std::make_unique<ShaderProgram>("Voidskirmish/Shader/draw.vert", "Voidskirmish/Shader/draw.frag");
    glUseProgram(program->program);
    clear();
    clearColour = pixel(0, 0);
  }
  void TearDown() override {
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    render::frustum = render::Frustum{};
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  void clear() {
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  std::unique_ptr<Geometry> quadModel(const MaterialSpec& material = {}) {
    const std::string path = folder.file("quad" + std::to_string(++written) + ".dae");
    voidskirmish::testing::writeModel(path, {makeQuad(1.0f)}, {material});
    auto model = std::make_unique<Geometry>(path, glm::mat4(1.0f), program.get(), glm::mat4(1.0f));
    model->hasLighting = false;  // plain colours: what the texture or material says reaches the screen
    return model;
  }
  static MaterialSpec orange() {
    MaterialSpec material;
    material.diffuse = aiColor3D(1.0f, 0.5f, 0.0f);  // drawn unlit as (255, 128, 0)
    return material;
  }
  void draw(Geometry& model) {
    model.draw(program.get(), view, projection, eye, &model.boundingSphere, &culled, &settings);
  }

  glm::u8vec4 pixel(int x, int y) const {
    glm::u8vec4 value;
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &value);
    return value;
  }
  int coveredPixels() const {
    const std::vector<unsigned char> all = readPixels(size, size);
    int covered = 0;
    for (size_t i = 0; i < all.size(); i += 4) {
      covered += glm::u8vec4(all[i], all[i + 1], all[i + 2], all[i + 3]) != clearColour ? 1 : 0;
    }
    return covered;
  }

  GlFramebuffer framebuffer;
  GlRenderbuffer colour, depth;
  std::unique_ptr<ShaderProgram> program;
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

TEST_F(SceneDrawTest, ModelCoversItsShapeInItsColourAndNothingElse) {
  auto model = quadModel(orange());
  draw(*model);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(255, 128, 0, 255));
  EXPECT_EQ(pixel(2, 2), clearColour);
  EXPECT_EQ(pixel(size - 3, size / 2), clearColour);
  // The quad's side of 2 at distance 3 under a 60° view fills 1 / tan 30° / 3 of the frame's height.
  const double side = size / (3.0 * std::tan(glm::radians(30.0)));
  EXPECT_NEAR(coveredPixels(), side * side, 4 * side);
  EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
  EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
}

TEST_F(SceneDrawTest, WireframeDrawsTheEdgesInTheWireframeColourThenFillsAgain) {
  auto model = quadModel();
  draw(*model);
  const int filled = coveredPixels();

  clear();
  settings.wireframe = true;
  settings.colorWireframeModeEnabled = true;
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
  settings.frustumCulling = true;
  // Every plane the same, x = 10 with +X inside: the model at the origin, radius 1.2, lies 10 behind it.
  for (render::FrustumPlane& plane : render::frustum.planes) {
    plane.normal = glm::vec3(1, 0, 0);
    plane.d = -10.0f;
  }
  draw(*model);
  EXPECT_EQ(culled, 1u);
  EXPECT_EQ(coveredPixels(), 0);

  for (render::FrustumPlane& plane : render::frustum.planes) {
    plane.d = -model->boundingSphere.w;  // touching from outside: still drawn
  }
  draw(*model);
  EXPECT_EQ(culled, 1u);
  EXPECT_GT(coveredPixels(), 0);

  clear();
  settings.frustumCulling = false;
  for (render::FrustumPlane& plane : render::frustum.planes) {
    plane.d = -10.0f;
  }
  draw(*model);
  EXPECT_EQ(culled, 1u);
  EXPECT_GT(coveredPixels(), 0);
}

// The game's own files: every model uploads and shows, textures and normal maps included.
TEST_F(SceneDrawTest, GameModelsDrawWithTheirOwnPrograms) {
  ShaderProgram normalMapping("Voidskirmish/Shader/normalMapping.vert", "Voidskirmish/Shader/normalMapping.frag");
  const std::pair<const char*, const ShaderProgram*> models[] = {
      {"ship2.dae", program.get()},        {"SpaceshipGun.dae", program.get()},
      {"cylinder.dae", program.get()},     {"BoundarySphere.dae", program.get()},
      {"asteroidLessComplex.dae", &normalMapping}};
  for (const auto& [file, shader] : models) {
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

class TexturedDrawTest : public SceneDrawTest {
 protected:
  void SetUp() override {
    SceneDrawTest::SetUp();
    // Three texels wide, so each 24-bit row is padded to 12 bytes.
    voidskirmish::testing::writeImage(folder.file("texels.png"), FIF_PNG, 3, 2, 24, texel);
    voidskirmish::testing::writeImage(folder.file("bumps.png"), FIF_PNG, 2, 2, 32,
                                      [](int, int) { return rgba(128, 128, 255); });
    MaterialSpec material;
    material.diffuseMap = folder.textureName("texels.png");
    material.normalMap = folder.textureName("bumps.png");
    model = quadModel(material);
    view = projection = glm::mat4(1.0f);  // the quad fills the frame exactly
    settings.mipmapMode = 0;
  }
  static RGBQUAD texel(int x, int y) { return rgba(40 + 100 * x, 60 + 150 * y, 200 - 90 * x); }
  static glm::u8vec4 expected(int x, int y) {
    const RGBQUAD c = texel(x, y);
    return {c.rgbRed, c.rgbGreen, c.rgbBlue, 255};
  }
  static int centreOf(int texel, int count) { return (2 * texel + 1) * size / (2 * count); }

  std::unique_ptr<Geometry> model;
};

TEST_F(TexturedDrawTest, NearestShowsEveryTexelInPlaceBilinearBlendsAndTheSwitchKeepsTheNormalMap) {
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

TEST_F(SceneDrawTest, UndecodableTextureDrawsEmptyAndPlayGoesOn) {
  voidskirmish::testing::writeBytes(folder.file("broken.png"), std::string(100, '\x17'));
  MaterialSpec material;
  material.diffuseMap = folder.textureName("broken.png");
  ::testing::internal::CaptureStdout();
  auto model = quadModel(material);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load dib\n");
  ASSERT_TRUE(model->hasTexture);
  draw(*model);
  EXPECT_TRUE(model->texture->uploaded());
  EXPECT_EQ(model->texture->width(0), 0u);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(0, 0, 0, 255));  // an empty texture samples black
}

class SkyboxDrawTest : public SceneDrawTest {
 protected:
  void SetUp() override {
    SceneDrawTest::SetUp();
    skyProgram = std::make_unique<ShaderProgram>("Voidskirmish/Shader/skybox.vert", "Voidskirmish/Shader/skybox.frag");
    skybox = std::make_unique<Skybox>(skyProgram.get());
  }
  std::vector<unsigned char> drawSky(const glm::mat4& skyView) {
    clear();
    glUseProgram(skyProgram->program);
    skybox->draw(eye, &settings, skyView, projection);
    return readPixels(size, size);
  }

  std::unique_ptr<ShaderProgram> skyProgram;
  std::unique_ptr<Skybox> skybox;
};

TEST_F(SkyboxDrawTest, FillsTheViewTurnsWithTheCameraNeverMovesAndNeverHidesWhatWasDrawn) {
  const std::vector<unsigned char> ahead = drawSky(view);
  EXPECT_EQ(coveredPixels(), size * size);
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
  EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
  EXPECT_TRUE(drawSky(glm::translate(view, glm::vec3(300, -40, 1000))) == ahead) << "moving changed the sky";
  EXPECT_TRUE(drawSky(glm::rotate(view, 0.5f, glm::vec3(0, 1, 0))) != ahead) << "turning left the sky as it was";

  auto model = quadModel(orange());
  clear();
  glUseProgram(program->program);
  draw(*model);
  glUseProgram(skyProgram->program);
  skybox->draw(eye, &settings, view, projection);
  EXPECT_EQ(pixel(size / 2, size / 2), glm::u8vec4(255, 128, 0, 255));
}

}  // namespace
}  // namespace voidskirmish::scene
