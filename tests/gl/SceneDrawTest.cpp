#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <string>
#include <vector>

#include "scene/RenderSettings.h"
#include "scene/Geometry.h"
#include "scene/Skybox.h"
#include "tests/gl/GlTest.h"
#include "tests/support/TestAssets.h"

namespace voidskirmish::scene {
namespace {

using namespace voidskirmish::testing;

constexpr int SIZE = 128;
const glm::u8vec4 ORANGE(255, 128, 0, 255);
const glm::u8vec4 CLEAR(51, 102, 153, 255);

// Draws into a 128 × 128 RGBA8 + depth frame buffer of its own with the game's model program, from 3 units in
// front of an unlit quad of side 2 at the origin, so what its material or texture says reaches the screen.
class SceneDrawTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glUseProgram(program->program);
  }

  std::unique_ptr<Geometry> quadModel(const std::string& material = "newmtl m\nKd 1 0.5 0\n") {
    auto model = std::make_unique<Geometry>(folder.model("usemtl m\n" + quad(1.0f), material), glm::mat4(1.0f),
                                            program.get(), glm::mat4(1.0f));
    model->hasLighting = false;
    return model;
  }
  void draw(Geometry& model) {
    model.draw(program.get(), view, projection, eye, &model.boundingSphere, &culled, &settings);
  }

  OffscreenTarget target{SIZE, SIZE, {0.2f, 0.4f, 0.6f, 1.0f}};  // CLEAR
  std::unique_ptr<ShaderProgram> program = loadProgram("draw");
  scene::RenderSettings settings;  // the start-up defaults
  std::uint32_t culled = 0;
  glm::vec3 eye{0.0f, 0.0f, 3.0f};
  glm::mat4 view = glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
  glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
  TempFolder folder;
};

// The arena's warning is its sphere in a red wire frame: only the edges, in the colour asked for, and whatever
// is drawn next is filled again.
TEST_F(SceneDrawTest, ModelFillsItsShapeInItsColourAndTheColouredWireframeOnlyItsEdges) {
  auto model = quadModel();
  draw(*model);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), ORANGE);
  EXPECT_EQ(pixel(2, 2), CLEAR);

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  settings.wireframe = settings.colorWireframeModeEnabled = true;
  settings.colorWireframeMode = glm::vec3(1, 0, 0);
  draw(*model);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), glm::u8vec4(255, 0, 0, 255));  // on the diagonal
  EXPECT_EQ(pixel(SIZE / 2 + 15, SIZE / 2 - 15), CLEAR);              // inside the quad, away from its edges
  GLint polygonMode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  EXPECT_EQ(polygonMode[0], GL_FILL);
}

// A grey 3 × 2 picture on a quad that fills the frame: 8-bit rows of 3 bytes, padded to 4 in the file and
// repacked to three bytes a pixel for the upload, whatever unpack alignment other code left behind.
TEST_F(SceneDrawTest, NearestShowsEveryTexelInPlaceBilinearBlendsAndTexturesOffShowTheMaterial) {
  const auto grey = [](int x, int y) { return static_cast<BYTE>(30 + 40 * x + 120 * y); };
  writeImage(folder.file("texels.png"), FIF_PNG, 3, 2, 8, [&](int x, int y) { return rgba(grey(x, y), 0, 0); });
  auto model = quadModel("newmtl m\nKd 1 1 1\nmap_Kd " + folder.textureName("texels.png") + "\n");
  const auto shown = [&](int x, int y) { return glm::u8vec4(grey(x, y), grey(x, y), grey(x, y), 255); };
  const auto centre = [](int texel, int count) { return (2 * texel + 1) * SIZE / (2 * count); };
  view = projection = glm::mat4(1.0f);
  settings.mipmapMode = 0;
  settings.samplingMode = 0;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  draw(*model);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(pixel(centre(x, 3), centre(y, 2)), shown(x, y)) << "texel " << x << ", " << y;
    }
  }
  EXPECT_EQ(pixel(SIZE / 3 - 3, centre(0, 2)), shown(0, 0));  // near the next texel, not blended with it
  settings.samplingMode = 1;
  draw(*model);
  EXPECT_NE(pixel(SIZE / 3 - 3, centre(0, 2)), shown(0, 0));

  settings.textures = false;  // as the enemy-only pass draws
  draw(*model);
  EXPECT_EQ(pixel(SIZE / 2, SIZE / 2), glm::u8vec4(255, 255, 255, 255));
}

// The sky is drawn around the eye: moving leaves it as it was, turning turns it. It writes no depth, and leaves
// depth writes on for what is drawn after it.
TEST_F(SceneDrawTest, SkyTurnsWithTheCameraAndNeverMoves) {
  const auto skyProgram = loadProgram("skybox");
  Skybox skybox(skyProgram.get());
  glUseProgram(skyProgram->program);
  const auto sky = [&](const glm::mat4& skyView) {
    skybox.draw(eye, &settings, skyView, projection);
    return Picture(SIZE, SIZE).pixels;
  };
  const std::vector<glm::u8vec4> ahead = sky(view);
  EXPECT_TRUE(sky(glm::translate(view, glm::vec3(300, -40, 1000))) == ahead) << "moving changed the sky";
  EXPECT_TRUE(sky(glm::rotate(view, 0.5f, glm::vec3(0, 1, 0))) != ahead) << "turning left the sky as it was";
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
}

}  // namespace
}  // namespace voidskirmish::scene
