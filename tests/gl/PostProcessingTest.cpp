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
constexpr std::array<float, 4> GREY = {0.5f, 0.5f, 0.5f, 1.0f};

// Paints the middle 16-pixel square of colour output `drawBuffer` of the bound frame buffer without a program.
void paintSquare(int drawBuffer, std::array<float, 4> colour) {
  glEnable(GL_SCISSOR_TEST);
  glScissor(24, 24, 16, 16);
  glClearBufferfv(GL_COLOR, drawBuffer, colour.data());
  glDisable(GL_SCISSOR_TEST);
}

class PostProcessingTest : public testing::RenderGlTest {
 protected:
  void SetUp() override {
    RenderGlTest::SetUp();
    frame.createFramebuffers(false, SIZE, SIZE);
  }

  // One frame whose scene is the square, its bright part white; in the enemy-only pass it is the enemy ship.
  std::vector<unsigned char> renderFrame(bool bloom, bool contours, std::array<float, 4> squareColour = GREY) {
    settings.bloom = bloom;
    settings.contours = contours;
    frame.render(settings, [&](bool asteroids, bool skybox, bool warning, bool effects, bool enemyOnly) {
      const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
      calls.push_back({asteroids, skybox, warning, effects, enemyOnly, settings.textures, depthTest});
      paintSquare(0, squareColour);
      if (!enemyOnly) {
        paintSquare(1, {1.0f, 1.0f, 1.0f, 1.0f});
      }
    });
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    return readPixels(SIZE, SIZE);
  }

  static const unsigned char* at(const std::vector<unsigned char>& pixels, int x, int y) {
    return &pixels[(static_cast<size_t>(y) * SIZE + x) * 4];
  }

  // One texel of the bloom result, as floats.
  std::array<float, 4> pingpongTexel(int x, int y) const {
    std::array<float, 4> texel{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame.pingpongFramebuffer(1));
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, texel.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return texel;
  }

  struct Call {
    bool asteroids, skybox, warning, effects, enemyOnly, textures, depthTest;
  };

  std::unique_ptr<scene::ShaderProgram> edgeDetection = loadProgram("contoursEdgeDetection"),
                                        blur = loadProgram("blur"), combine = loadProgram("frameBuffersCombined");
  PostProcessing frame{{edgeDetection.get(), blur.get(), combine.get()}};
  game::RenderSettings settings;
  std::vector<Call> calls;
};

TEST_F(PostProcessingTest, EveryFrameBufferIsCompleteAtEachSizeKeepsItsNamesAndAnEmptyOneEndsTheProgram) {
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
  EXPECT_EXIT(frame.createFramebuffers(true, 0, 0), ::testing::ExitedWithCode(1), "");
}

// The scene pass draws everything textured, the enemy-only pass only the enemy, untextured; the blur program
// writes its buffers only with bloom on.
TEST_F(PostProcessingTest, PassesFollowTheSettingsAndBlurRunsOnlyWithBloom) {
  const std::array<float, 4> marker = {0.25f, 0.5f, 0.75f, 1.0f};
  glBindFramebuffer(GL_FRAMEBUFFER, frame.pingpongFramebuffer(1));
  glClearBufferfv(GL_COLOR, 0, marker.data());

  renderFrame(false, true);
  ASSERT_EQ(calls.size(), 2u);
  const Call& scene = calls[0];
  const Call& contour = calls[1];
  EXPECT_TRUE(scene.asteroids && scene.skybox && scene.warning && scene.effects && !scene.enemyOnly);
  EXPECT_TRUE(scene.textures && scene.depthTest);
  EXPECT_TRUE(!contour.asteroids && !contour.skybox && !contour.warning && !contour.effects && contour.enemyOnly);
  EXPECT_TRUE(!contour.textures && contour.depthTest);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(pingpongTexel(2, 2), marker);

  calls.clear();
  renderFrame(true, false);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_NE(pingpongTexel(2, 2), marker);
  EXPECT_GT(pingpongTexel(32, 32)[0], 0.5f);  // the result of the tenth pass
}

// Bloom spreads the bright part past the square's edge; with both effects off only the scene shows, even
// though the last frame left an outline and a glow in their textures.
TEST_F(PostProcessingTest, BloomSpreadsTheBrightPartAndOffShowsTheSceneAlone) {
  const std::array<float, 4> blue = {0.2f, 0.4f, 0.8f, 1.0f};
  renderFrame(true, true, blue);
  const std::vector<unsigned char> plain = renderFrame(false, false, blue);
  const std::vector<unsigned char> glowing = renderFrame(true, false, blue);
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(at(plain, 32, 32)[c], 255 * blue[c], 1);
  }
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

TEST_F(PostProcessingTest, ContoursOutlineTheEnemyOnlyShape) {
  const std::vector<unsigned char> outlined = renderFrame(false, true);
  const std::vector<unsigned char> plain = renderFrame(false, false);
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
