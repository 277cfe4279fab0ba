#include <gtest/gtest.h>

#include <array>
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
                                        blur = loadProgram("blur"), combine = loadProgram("frameBuffersCombined");
  PostProcessing frame{{edgeDetection.get(), blur.get(), combine.get()}};
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

}  // namespace
}  // namespace voidskirmish::render
