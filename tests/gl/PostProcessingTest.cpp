#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "failure/LoadFailure.h"
#include "render/PostProcessing.h"
#include "tests/gl/GlTest.h"
#include "tests/support/Printed.h"

// What the pictures of a played match cannot show: the buffers behind them and the passes that fill them.
namespace voidskirmish::render {
namespace {

class PostProcessingTest : public testing::GlTest {
 protected:
  std::unique_ptr<scene::ShaderProgram> edgeDetection = loadProgram("contoursEdgeDetection"),
                                        blur = loadProgram("blur"), combine = loadProgram("frameBuffersCombined"),
                                        chain = loadProgram("bloomChain");
  PostProcessing frame{{edgeDetection.get(), blur.get(), combine.get(), chain.get()}};
};

// Scene, bright part and bloom are half floats, for the glow's headroom above 1; the contour image and its edges
// ordinary colours. A resize keeps every name and re-sizes every texture.
TEST_F(PostProcessingTest, EveryBufferIsCompleteInItsFormatAfterEachResizeAndAnEmptyOneIsRefused) {
  frame.createFramebuffers(false, 64, 64);
  const GLuint scene = frame.sceneFramebuffer(), bloomResult = frame.pingpongTexture(1);
  for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{1, 1}}) {
    frame.createFramebuffers(true, width, height);
    for (GLuint framebuffer : {frame.sceneFramebuffer(), frame.pingpongFramebuffer(0), frame.pingpongFramebuffer(1),
                               frame.contourFramebuffer(), frame.edgeFramebuffer()}) {
      glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
      EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE)) << width << "x" << height;
    }
    const std::pair<GLuint, GLint> textures[] = {
        {frame.sceneColorTexture(), GL_RGBA16F}, {frame.brightColorTexture(), GL_RGBA16F},
        {frame.pingpongTexture(0), GL_RGBA16F},  {frame.pingpongTexture(1), GL_RGBA16F},
        {frame.contourSourceTexture(), GL_RGB}, {frame.edgeTexture(), GL_RGB}};
    for (const auto& [texture, format] : textures) {
      glm::ivec3 found;
      glBindTexture(GL_TEXTURE_2D, texture);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &found.x);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &found.y);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &found.z);
      EXPECT_EQ(found, glm::ivec3(width, height, format)) << "texture " << texture;
    }
  }
  EXPECT_EQ(glm::uvec2(frame.sceneFramebuffer(), frame.pingpongTexture(1)), glm::uvec2(scene, bloomResult));
  try {
    frame.createFramebuffers(true, 0, 0);
    ADD_FAILURE() << "an empty frame buffer was taken";
  } catch (const failure::LoadFailure& refused) {
    EXPECT_STREQ(refused.what(), "Couldn't load frame buffer! Framebuffer is not complete!");
    EXPECT_TRUE(refused.stream == failure::LoadFailure::Stream::Output && refused.closesWindow);
  }
}

// The scene pass draws everything textured, the enemy-only pass only the enemy, untextured, both with depth;
// with bloom off the blur program never writes its buffers, with contours off the enemy is not drawn alone.
TEST_F(PostProcessingTest, PassesDrawWhatTheSettingsAskAndBlurRunsOnlyWithBloom) {
  frame.createFramebuffers(false, 64, 64);
  const std::array<float, 4> marker = {0.25f, 0.5f, 0.75f, 1.0f};
  glBindFramebuffer(GL_FRAMEBUFFER, frame.pingpongFramebuffer(1));
  glClearBufferfv(GL_COLOR, 0, marker.data());

  scene::RenderSettings settings;
  settings.bloom = false;
  using Call = std::array<bool, 7>;  // asteroids, skybox, warning, effects, enemy only, textures, depth test
  std::vector<Call> calls;
  const SceneDrawer record = [&](bool asteroids, bool skybox, bool warning, bool effects, bool enemyOnly) {
    calls.push_back({asteroids, skybox, warning, effects, enemyOnly, settings.textures,
                     glIsEnabled(GL_DEPTH_TEST) == GL_TRUE});
  };
  frame.render(settings, record);
  EXPECT_EQ(calls, (std::vector<Call>{{true, true, true, true, false, true, true},
                                      {false, false, false, false, true, false, true}}));
  std::array<float, 4> bloomTexel{};
  glBindFramebuffer(GL_READ_FRAMEBUFFER, frame.pingpongFramebuffer(1));
  glReadPixels(2, 2, 1, 1, GL_RGBA, GL_FLOAT, bloomTexel.data());
  EXPECT_EQ(bloomTexel, marker);

  settings.contours = false;
  frame.render(settings, record);
  EXPECT_EQ(calls.size(), 3u) << "contours off still drew the enemy alone";
}

// A texture's size, and the energy and variances along x and y and along both diagonals of its red channel, in
// texels of `texelSize` window pixels about the window's point (32, 32).
std::pair<glm::ivec2, std::array<float, 5>> spreadOf(GLuint texture, float texelSize) {
  glm::ivec2 size;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size.x);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size.y);
  std::vector<glm::vec4> texels(static_cast<size_t>(size.x) * size.y);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
  std::array<float, 5> sums{};
  for (int i = 0; i < size.x * size.y; ++i) {
    const glm::vec2 at = (glm::vec2(i % size.x, i / size.x) + 0.5f) * texelSize - 32.0f;
    const float value = texels[i].r * texelSize * texelSize;
    sums[0] += value;
    sums[1] += value * at.x * at.x;
    sums[2] += value * at.y * at.y;
    sums[3] += value * (at.x + at.y) * (at.x + at.y) / 2;
    sums[4] += value * (at.x - at.y) * (at.x - at.y) / 2;
  }
  for (int k = 1; k < 5; ++k) {
    sums[k] /= sums[0];
  }
  return {size, sums};
}

// Below full resolution every target has the scaled size, and the fast bloom's steps follow the window: half of
// it (no more than the scene), a quarter, half again. A bright 4 × 4 block (every place a texel can have in the
// quarter-size step) spreads as far and as round under the fast bloom as under the ten passes, with the same
// energy, once the combining pass has filtered the half-size glow up (a tent two pixels wide: variance 2² / 6).
TEST_F(PostProcessingTest, ScaledTargetsAndAFastBloomAsWideAndRoundAsTheTenPasses) {
  frame.createFramebuffers(false, 1024, 768, 0.5f, true);
  EXPECT_TRUE(frame.builtFor(0.5f, true) && !frame.builtFor(1.0f, true));
  EXPECT_EQ(glm::ivec4(frame.width(), frame.height(), frame.sceneWidth(), frame.sceneHeight()),
            glm::ivec4(1024, 768, 512, 384));
  for (GLuint texture :
       {frame.sceneColorTexture(), frame.edgeTexture(), frame.pingpongTexture(1), frame.bloomTexture()}) {
    EXPECT_EQ(spreadOf(texture, 1.0f).first, glm::ivec2(512, 384));
  }

  frame.createFramebuffers(true, 64, 64, 1.0f, true);
  std::vector<glm::vec4> bright(64 * 64, glm::vec4(0.0f));
  for (int i = 0; i < 16; ++i) {
    bright[(30 + i / 4) * 64 + 30 + i % 4] = glm::vec4(1.0f);
  }
  glBindTexture(GL_TEXTURE_2D, frame.brightColorTexture());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 64, 64, GL_RGBA, GL_FLOAT, bright.data());
  frame.bloomPasses();
  frame.bloomChainPasses();
  const std::array<float, 5> full = spreadOf(frame.pingpongTexture(1), 1.0f).second;
  const auto [fastSize, fast] = spreadOf(frame.bloomTexture(), 2.0f);
  EXPECT_EQ(fastSize, glm::ivec2(32, 32));
  EXPECT_NEAR(fast[0], full[0], 0.01f * full[0]) << "energy";
  for (int k = 1; k < 5; ++k) {
    EXPECT_NEAR(std::sqrt(fast[k] + 4.0f / 6.0f), std::sqrt(full[k]), 0.05f * std::sqrt(full[k])) << "spread " << k;
  }
}

}  // namespace
}  // namespace voidskirmish::render
