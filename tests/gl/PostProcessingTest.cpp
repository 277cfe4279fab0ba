#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "render/PostProcessing.h"
#include "tests/gl/RenderGlTest.h"

namespace voidskirmish::render {
namespace {

constexpr int SIZE = 64;  // the hidden test window
constexpr unsigned char BACKDROP = 26;  // the scene's clear grey, 0.1

// Paints a square into colour output `drawBuffer` of the bound frame buffer without a program.
void paintSquare(int drawBuffer, int x, int y, int side, std::array<float, 4> colour) {
  glEnable(GL_SCISSOR_TEST);
  glScissor(x, y, side, side);
  glClearBufferfv(GL_COLOR, drawBuffer, colour.data());
  glDisable(GL_SCISSOR_TEST);
}

class PostProcessingTest : public testing::RenderGlTest {
 protected:
  static void SetUpTestSuite() {
    RenderGlTest::SetUpTestSuite();
    edgeDetection = loadProgram("contoursEdgeDetection");
    blur = loadProgram("blur");
    combine = loadProgram("frameBuffersCombined");
  }
  static void TearDownTestSuite() {
    edgeDetection.reset();
    blur.reset();
    combine.reset();
  }

  void SetUp() override {
    RenderGlTest::SetUp();
    frame.createFramebuffers(false, SIZE, SIZE);
  }

  // One frame whose scene is a 16-pixel square in the middle; its bright part glows white. In the enemy-only
  // pass the square stands for the enemy ship.
  std::vector<unsigned char> renderFrame(bool bloom, bool contours, std::array<float, 4> squareColour) {
    settings.bloom = bloom;
    settings.contours = contours;
    frame.render(settings, [&](bool asteroids, bool skybox, bool warning, bool effects, bool enemyOnly) {
      const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
      calls.push_back({asteroids, skybox, warning, effects, enemyOnly, settings.textures, depthTest});
      paintSquare(0, 24, 24, 16, squareColour);
      if (!enemyOnly) {
        paintSquare(1, 24, 24, 16, {1.0f, 1.0f, 1.0f, 1.0f});
      }
    });
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    return readPixels(SIZE, SIZE);
  }

  static const unsigned char* at(const std::vector<unsigned char>& pixels, int x, int y) {
    return &pixels[(static_cast<size_t>(y) * SIZE + x) * 4];
  }

  // One texel of a frame buffer's colour attachment, as floats.
  static std::array<float, 4> readTexel(GLuint framebuffer, int x, int y) {
    std::array<float, 4> texel{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, texel.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return texel;
  }

  struct Call {
    bool asteroids, skybox, warning, effects, enemyOnly, textures, depthTest;
  };

  static inline std::unique_ptr<scene::ShaderProgram> edgeDetection, blur, combine;
  PostProcessing frame{{edgeDetection.get(), blur.get(), combine.get()}};
  game::RenderSettings settings;
  std::vector<Call> calls;
};

TEST_F(PostProcessingTest, EveryFrameBufferIsCompleteAtEachSizeAndKeepsItsNames) {
  const auto expectAll = [&](int width, int height) {
    for (GLuint framebuffer : {frame.sceneFramebuffer(), frame.pingpongFramebuffer(0), frame.pingpongFramebuffer(1),
                               frame.contourFramebuffer(), frame.edgeFramebuffer()}) {
      glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
      EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE)) << width << "x" << height;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (GLuint texture : {frame.sceneColorTexture(), frame.brightColorTexture(), frame.pingpongTexture(0),
                           frame.pingpongTexture(1), frame.contourSourceTexture(), frame.edgeTexture()}) {
      GLint w = 0, h = 0;
      glBindTexture(GL_TEXTURE_2D, texture);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
      EXPECT_EQ(w, width);
      EXPECT_EQ(h, height);
    }
  };
  frame.createFramebuffers(false, 1024, 768);
  expectAll(1024, 768);
  const GLuint scene = frame.sceneFramebuffer();
  const GLuint bloomResult = frame.pingpongTexture(1);
  frame.createFramebuffers(true, 300, 200);
  expectAll(300, 200);
  frame.createFramebuffers(true, 1, 1);
  expectAll(1, 1);
  EXPECT_EQ(frame.sceneFramebuffer(), scene);
  EXPECT_EQ(frame.pingpongTexture(1), bloomResult);
}

TEST_F(PostProcessingTest, IncompleteFrameBufferEndsTheProgram) {
  EXPECT_EXIT(frame.createFramebuffers(true, 0, 0), ::testing::ExitedWithCode(1), "");
}

TEST_F(PostProcessingTest, ScenePassThenEnemyOnlyPassWithTheirSettings) {
  renderFrame(false, true, {0.5f, 0.5f, 0.5f, 1.0f});
  ASSERT_EQ(calls.size(), 2u);
  const Call& scene = calls[0];
  const Call& contour = calls[1];
  EXPECT_TRUE(scene.asteroids && scene.skybox && scene.warning && scene.effects && !scene.enemyOnly);
  EXPECT_TRUE(scene.textures && scene.depthTest);
  EXPECT_TRUE(!contour.asteroids && !contour.skybox && !contour.warning && !contour.effects && contour.enemyOnly);
  EXPECT_TRUE(!contour.textures && contour.depthTest);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

  calls.clear();
  renderFrame(false, false, {0.5f, 0.5f, 0.5f, 1.0f});
  EXPECT_EQ(calls.size(), 1u);
}

// Bloom spreads the bright part past the square's edge; with both effects off only the scene shows, even
// though the last frame left an outline and a glow in their textures.
TEST_F(PostProcessingTest, BloomSpreadsTheBrightPartAndOffShowsTheSceneAlone) {
  renderFrame(true, true, {0.2f, 0.4f, 0.8f, 1.0f});
  const std::vector<unsigned char> plain = renderFrame(false, false, {0.2f, 0.4f, 0.8f, 1.0f});
  const std::vector<unsigned char> glowing = renderFrame(true, false, {0.2f, 0.4f, 0.8f, 1.0f});
  EXPECT_NEAR(at(plain, 32, 32)[0], 51, 1);
  EXPECT_NEAR(at(plain, 32, 32)[1], 102, 1);
  EXPECT_NEAR(at(plain, 32, 32)[2], 204, 1);
  for (const auto& [x, y] : {std::pair{21, 32}, std::pair{43, 32}, std::pair{32, 21}, std::pair{32, 42},
                             std::pair{20, 32}, std::pair{2, 2}, std::pair{32, 61}}) {
    EXPECT_NEAR(at(plain, x, y)[0], BACKDROP, 1) << x << "," << y;
    EXPECT_NEAR(at(plain, x, y)[2], BACKDROP, 1) << x << "," << y;
  }
  for (const auto& [x, y] : {std::pair{21, 32}, std::pair{43, 32}, std::pair{32, 21}, std::pair{32, 42}}) {
    EXPECT_GT(at(glowing, x, y)[0], 2 * BACKDROP + 30) << x << "," << y;
  }
  EXPECT_GT(at(glowing, 32, 32)[0], at(plain, 32, 32)[0] + 60);
  // Far from the square only the backdrop's own bright part (its clear colour) is spread, evenly.
  EXPECT_NEAR(at(glowing, 2, 2)[0], at(glowing, 61, 61)[0], 1);
  EXPECT_LT(at(glowing, 2, 2)[0], at(glowing, 21, 32)[0] - 30);
}

TEST_F(PostProcessingTest, BlurProgramRunsOnlyWithBloom) {
  const std::array<float, 4> marker = {0.25f, 0.5f, 0.75f, 1.0f};
  glBindFramebuffer(GL_FRAMEBUFFER, frame.pingpongFramebuffer(1));
  glClearBufferfv(GL_COLOR, 0, marker.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);

  renderFrame(false, true, {0.5f, 0.5f, 0.5f, 1.0f});
  EXPECT_EQ(readTexel(frame.pingpongFramebuffer(1), 2, 2), marker);

  renderFrame(true, false, {0.5f, 0.5f, 0.5f, 1.0f});
  EXPECT_NE(readTexel(frame.pingpongFramebuffer(1), 2, 2), marker);
  EXPECT_GT(readTexel(frame.pingpongFramebuffer(1), 32, 32)[0], 0.5f);  // the result of the tenth pass
}

TEST_F(PostProcessingTest, ContoursOutlineTheEnemyOnlyShape) {
  const std::vector<unsigned char> outlined = renderFrame(false, true, {0.3f, 0.3f, 0.3f, 1.0f});
  const std::vector<unsigned char> plain = renderFrame(false, false, {0.3f, 0.3f, 0.3f, 1.0f});
  // On the square's border the outline's orange is added; inside and outside it nothing is.
  for (const auto& [x, y] : {std::pair{24, 32}, std::pair{39, 32}, std::pair{32, 24}, std::pair{32, 39}}) {
    EXPECT_GT(at(outlined, x, y)[0], at(plain, x, y)[0] + 40) << x << "," << y;
    EXPECT_GT(at(outlined, x, y)[0], at(outlined, x, y)[2] + 40) << x << "," << y;
  }
  for (const auto& [x, y] : {std::pair{32, 32}, std::pair{10, 10}, std::pair{32, 50}}) {
    EXPECT_EQ(at(outlined, x, y)[0], at(plain, x, y)[0]) << x << "," << y;
  }
}

}  // namespace
}  // namespace voidskirmish::render
