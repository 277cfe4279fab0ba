#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "game/RenderSettings.h"
#include "render/Frustum.h"
#include "scene/Geometry.h"
#include "scene/Skybox.h"
#include "scene/Texture.h"
#include "tests/gl/GlTest.h"
#include "tests/support/Printed.h"
#include "tests/support/TestAssets.h"

namespace voidskirmish::scene {
namespace {

using namespace voidskirmish::testing;

constexpr int SIZE = 128;
const glm::u8vec4 ORANGE(255, 128, 0, 255);
const glm::u8vec4 CLEAR(51, 102, 153, 255);

// Draws into a 128 × 128 RGBA8 + depth frame buffer of its own with the game's model program, from 3 units in
// front of a quad of side 2 at the origin.
class SceneDrawTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glUseProgram(program->program);
  }
  void TearDown() override {
    render::frustum = render::Frustum{};
    GlTest::TearDown();
  }

  static void clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
  // A quad of the given MTL material (named m) in plain colours: what the texture or material says reaches the
  // screen.
  std::unique_ptr<Geometry> quadModel(const std::string& material = "newmtl m\nKd 1 1 1\n") {
    auto model = std::make_unique<Geometry>(folder.model("usemtl m\n" + quad(1.0f), material), glm::mat4(1.0f),
                                            program.get(), glm::mat4(1.0f));
    model->hasLighting = false;
    return model;
  }
  std::unique_ptr<Geometry> orangeModel() { return quadModel("newmtl m\nKd 1 0.5 0\n"); }
  void draw(Geometry& model) {
    model.draw(program.get(), view, projection, eye, &model.boundingSphere, &culled, &settings);
  }
  static int coveredPixels() {
    const std::vector<glm::u8vec4> all = Picture(SIZE, SIZE).pixels;
    return static_cast<int>(std::count_if(all.begin(), all.end(), [](glm::u8vec4 p) { return p != CLEAR; }));
  }
  static GLint integer(GLenum what) {
    GLint value[2] = {0, 0};
    glGetIntegerv(what, value);
    return value[0];
  }

  OffscreenTarget target{SIZE, SIZE, true, {0.2f, 0.4f, 0.6f, 1.0f}};  // CLEAR
  std::unique_ptr<ShaderProgram> program = loadProgram("draw");
  game::RenderSettings settings;  // the start-up defaults
  std::uint32_t culled = 0;
  glm::vec3 eye{0.0f, 0.0f, 3.0f};
  glm::mat4 view = glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
  glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
  TempFolder folder;
};

TEST_F(SceneDrawTest, ModelCoversItsShapeInItsColourAndWireframeOnlyItsEdges) {
  EXPECT_EQ(pixel(0, 0), CLEAR);
  auto model = orangeModel();
  draw(*model);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), ORANGE);
  EXPECT_EQ(pixel(2, 2), CLEAR);
  EXPECT_EQ(pixel(SIZE - 3, SIZE / 2), CLEAR);
  // The quad's side of 2 at distance 3 under a 60° view fills 1 / tan 30° / 3 of the frame's height.
  const double side = SIZE / (3.0 * std::tan(glm::radians(30.0)));
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
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), glm::u8vec4(255, 0, 0, 255));  // on the diagonal
  EXPECT_EQ(pixel(SIZE / 2 + 15, SIZE / 2 - 15), CLEAR);              // inside the quad, away from its edges
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
  for (const std::string file : {"ship2.dae", "SpaceshipGun.dae", "cylinder.dae", "BoundarySphere.dae",
                                 "asteroidLessComplex.dae"}) {
    const ShaderProgram* shader = file == "asteroidLessComplex.dae" ? normalMapping.get() : program.get();
    clear();
    Geometry model("Voidskirmish/Material/" + file, glm::mat4(1.0f), shader, glm::mat4(1.0f));
    model.rotateY(0.6f);
    model.rotateX(0.4f);
    glUseProgram(shader->program);
    const glm::vec3 from(0.0f, 0.0f, -2.5f * model.boundingSphere.w);  // on the side the light comes from
    model.draw(shader, glm::lookAt(from, glm::vec3(0.0f), glm::vec3(0, 1, 0)), projection, from,
               &model.boundingSphere, &culled, &settings);
    EXPECT_GT(coveredPixels(), SIZE * SIZE / 10) << file;
  }
}

TEST_F(SceneDrawTest, SkyFillsTheViewTurnsWithTheCameraNeverMovesAndNeverHidesWhatWasDrawn) {
  const auto skyProgram = loadProgram("skybox");
  Skybox skybox(skyProgram.get());
  const auto drawSky = [&](const glm::mat4& skyView) {
    clear();
    glUseProgram(skyProgram->program);
    skybox.draw(eye, &settings, skyView, projection);
    return Picture(SIZE, SIZE).pixels;
  };
  const std::vector<glm::u8vec4> ahead = drawSky(view);
  EXPECT_EQ(coveredPixels(), SIZE * SIZE);
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_EQ(glm::ivec2(integer(GL_POLYGON_MODE), integer(GL_VERTEX_ARRAY_BINDING)), glm::ivec2(GL_FILL, 0));
  EXPECT_TRUE(drawSky(glm::translate(view, glm::vec3(300, -40, 1000))) == ahead) << "moving changed the sky";
  EXPECT_TRUE(drawSky(glm::rotate(view, 0.5f, glm::vec3(0, 1, 0))) != ahead) << "turning left the sky as it was";

  auto model = orangeModel();
  clear();
  glUseProgram(program->program);
  draw(*model);
  glUseProgram(skyProgram->program);
  skybox.draw(eye, &settings, view, projection);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), ORANGE);
}

// A 3 × 2 texture (24-bit rows padded to 12 bytes) and a flat normal map on a quad that fills the frame.
class TexturedDrawTest : public SceneDrawTest {
 protected:
  void SetUp() override {
    SceneDrawTest::SetUp();
    writeImage(folder.file("texels.png"), FIF_PNG, 3, 2, 24, texel);
    writeImage(folder.file("bumps.png"), FIF_PNG, 2, 2, 32, [](int, int) { return rgba(128, 128, 255); });
    view = projection = glm::mat4(1.0f);
    settings.mipmapMode = 0;
  }
  std::unique_ptr<Geometry> texturedModel(const char* diffuseMap, const char* normalMap = nullptr) {
    const std::string normal = normalMap != nullptr ? "norm " + folder.textureName(normalMap) + "\n" : "";
    return quadModel("newmtl m\nKd 1 1 1\nmap_Kd " + folder.textureName(diffuseMap) + "\n" + normal);
  }
  static RGBQUAD texel(int x, int y) { return rgba(40 + 100 * x, 60 + 150 * y, 200 - 90 * x); }
  static glm::u8vec4 expected(int x, int y) { return glm::ivec4(40 + 100 * x, 60 + 150 * y, 200 - 90 * x, 255); }
  static int centreOf(int texel, int count) { return (2 * texel + 1) * SIZE / (2 * count); }
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
  EXPECT_EQ(pixel(SIZE / 3 - 3, centreOf(0, 2)), expected(0, 0));
  settings.samplingMode = 1;
  draw(*model);
  EXPECT_NE(pixel(SIZE / 3 - 3, centreOf(0, 2)), expected(0, 0));

  settings.textures = false;
  draw(*model);
  GLint hasTexture = -1, hasNormalMap = -1;
  glGetUniformiv(program->program, glGetUniformLocation(program->program, "hasTexture"), &hasTexture);
  glGetUniformiv(program->program, glGetUniformLocation(program->program, "hasNormalMap"), &hasNormalMap);
  EXPECT_EQ(glm::ivec2(hasTexture, hasNormalMap), glm::ivec2(0, 1));
  glActiveTexture(GL_TEXTURE1);
  EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), model->normalTexture->glName());
  glActiveTexture(GL_TEXTURE0);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), glm::u8vec4(255, 255, 255, 255));  // the material's white, untextured
}

// Why the picture did not decode is said where images decode (GeometryLoadTest); here play goes on.
TEST_F(TexturedDrawTest, UndecodableTextureDrawsEmptyAndPlayGoesOn) {
  writeBytes(folder.file("broken.png"), std::string(100, '\x17'));
  std::unique_ptr<Geometry> model;
  printed([&] { model = texturedModel("broken.png"); });
  ASSERT_TRUE(model->hasTexture);
  draw(*model);
  EXPECT_TRUE(model->texture->uploaded());
  EXPECT_EQ(model->texture->width(0), 0u);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), glm::u8vec4(0, 0, 0, 255));  // an empty texture samples black
}

}  // namespace
}  // namespace voidskirmish::scene
