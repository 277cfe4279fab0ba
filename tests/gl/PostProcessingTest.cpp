#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "render/PostProcessing.h"
#include "tests/gl/GlTest.h"
#include "tests/support/Printed.h"

namespace voidskirmish::render {
namespace {

using testing::Picture;

constexpr int SIZE = 64;                // the hidden test window
constexpr unsigned char BACKDROP = 26;  // the scene's clear grey, 0.1
using Colour = std::array<float, 4>;
constexpr Colour GREY = {0.5f, 0.5f, 0.5f, 1.0f};

// Frames whose scene is a 16-pixel square in the middle, without a program; its bright part is white, and in
// the enemy-only pass it is the enemy ship.
class PostProcessingTest : public testing::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    frame.createFramebuffers(false, SIZE, SIZE);
  }

  static void paintSquare(int drawBuffer, Colour colour) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(24, 24, 16, 16);
    glClearBufferfv(GL_COLOR, drawBuffer, colour.data());
    glDisable(GL_SCISSOR_TEST);
  }
  Picture renderFrame(bool bloom, bool contours, Colour squareColour = GREY) {
    settings.bloom = bloom;
    settings.contours = contours;
    frame.render(settings, [&](bool asteroids, bool skybox, bool warning, bool effects, bool enemyOnly) {
      calls.push_back({asteroids, skybox, warning, effects, enemyOnly, settings.textures,
                       glIsEnabled(GL_DEPTH_TEST) == GL_TRUE});
      paintSquare(0, squareColour);
      if (!enemyOnly) {
        paintSquare(1, {1.0f, 1.0f, 1.0f, 1.0f});
      }
    });
    glReadBuffer(GL_BACK);
    return Picture(SIZE, SIZE);
  }
  // One texel of the bloom result, as floats.
  Colour bloomTexel(int x, int y) const {
    Colour texel{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame.pingpongFramebuffer(1));
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, texel.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return texel;
  }

  std::unique_ptr<scene::ShaderProgram> edgeDetection = loadProgram("contoursEdgeDetection"),
                                        blur = loadProgram("blur"), combine = loadProgram("frameBuffersCombined");
  PostProcessing frame{{edgeDetection.get(), blur.get(), combine.get()}};
  game::RenderSettings settings;
  // What each pass asked to draw, with the textures switch and depth test it drew under.
  std::vector<std::array<bool, 7>> calls;
};

TEST_F(PostProcessingTest, EveryFrameBufferIsCompleteAtEachSizeKeepsItsNamesAndAnEmptyOneEndsTheProgram) {
  const GLuint scene = frame.sceneFramebuffer(), bloomResult = frame.pingpongTexture(1);
  for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{1, 1}}) {
    frame.createFramebuffers(true, width, height);
    for (GLuint framebuffer : {frame.sceneFramebuffer(), frame.pingpongFramebuffer(0), frame.pingpongFramebuffer(1),
                               frame.contourFramebuffer(), frame.edgeFramebuffer()}) {
      glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
      EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE)) << width << "x" << height;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (GLuint texture : {frame.sceneColorTexture(), frame.brightColorTexture(), frame.pingpongTexture(0),
                           frame.pingpongTexture(1), frame.contourSourceTexture(), frame.edgeTexture()}) {
      glm::ivec2 size;
      glBindTexture(GL_TEXTURE_2D, texture);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size.x);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size.y);
      EXPECT_EQ(size, glm::ivec2(width, height));
    }
  }
  EXPECT_EQ(frame.sceneFramebuffer(), scene);
  EXPECT_EQ(frame.pingpongTexture(1), bloomResult);
  EXPECT_EXIT({ testing::printToStderrWithoutInput(); frame.createFramebuffers(true, 0, 0); },
              ::testing::ExitedWithCode(1), "^Couldn't load frame buffer! Framebuffer is not complete!$");
}

// The scene pass draws everything textured, the enemy-only pass only the enemy, untextured; the blur program
// writes its buffers only with bloom on.
TEST_F(PostProcessingTest, PassesFollowTheSettingsAndBlurRunsOnlyWithBloom) {
  const Colour marker = {0.25f, 0.5f, 0.75f, 1.0f};
  glBindFramebuffer(GL_FRAMEBUFFER, frame.pingpongFramebuffer(1));
  glClearBufferfv(GL_COLOR, 0, marker.data());

  renderFrame(false, true);
  using Call = std::array<bool, 7>;  // asteroids, skybox, warning, effects, enemy only, textures, depth test
  EXPECT_EQ(calls, (std::vector<Call>{{true, true, true, true, false, true, true},
                                      {false, false, false, false, true, false, true}}));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(bloomTexel(2, 2), marker);

  calls.clear();
  renderFrame(true, false);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_NE(bloomTexel(2, 2), marker);
}

// With both effects off only the scene shows, though the frame before left an outline and a glow in their
// textures; bloom spreads the bright part past the square's edge; contours add orange on its border alone.
TEST_F(PostProcessingTest, BloomSpreadsTheBrightPartContoursOutlineTheEnemyAndOffShowsTheSceneAlone) {
  const Colour blue = {0.2f, 0.4f, 0.8f, 1.0f};
  renderFrame(true, true, blue);
  const Picture plain = renderFrame(false, false, blue);
  const Picture glowing = renderFrame(true, false, blue);
  EXPECT_EQ(glm::ivec3(plain.at(32, 32)), glm::ivec3(51, 102, 204));
  using Points = std::initializer_list<std::pair<int, int>>;
  for (const auto& [x, y] : Points{{21, 32}, {43, 32}, {32, 21}, {32, 42}, {20, 32}, {2, 2}, {32, 61}}) {
    EXPECT_NEAR(plain.at(x, y).r, BACKDROP, 1) << x << "," << y;
    EXPECT_NEAR(plain.at(x, y).b, BACKDROP, 1) << x << "," << y;
  }
  for (const auto& [x, y] : Points{{21, 32}, {43, 32}, {32, 21}, {32, 42}}) {
    EXPECT_GT(glowing.at(x, y).r, 2 * BACKDROP + 30) << x << "," << y;
  }
  EXPECT_GT(glowing.at(32, 32).r, plain.at(32, 32).r + 60);
  // Far from the square only the backdrop's own bright part (its clear colour) is spread, evenly.
  EXPECT_NEAR(glowing.at(2, 2).r, glowing.at(61, 61).r, 1);
  EXPECT_LT(glowing.at(2, 2).r, glowing.at(21, 32).r - 30);

  const Picture outlined = renderFrame(false, true);
  const Picture grey = renderFrame(false, false);
  for (const auto& [x, y] : Points{{24, 32}, {39, 32}, {32, 24}, {32, 39}}) {
    EXPECT_GT(outlined.at(x, y).r, grey.at(x, y).r + 40) << x << "," << y;
    EXPECT_GT(outlined.at(x, y).r, outlined.at(x, y).b + 40) << x << "," << y;
  }
  for (const auto& [x, y] : Points{{32, 32}, {10, 10}, {32, 50}}) {
    EXPECT_EQ(outlined.at(x, y).r, grey.at(x, y).r) << x << "," << y;
  }
}

}  // namespace
}  // namespace voidskirmish::render
