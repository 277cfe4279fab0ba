#include <gtest/gtest.h>

#include <vector>

#include "render/EnemyDirection.h"
#include "render/ParticlePool.h"
#include "render/ParticleRenderer.h"
#include "tests/gl/RenderGlTest.h"

namespace voidskirmish::render {
namespace {

constexpr int SIZE = 64;  // the hidden test window

class ParticleRendererTest : public testing::RenderGlTest {
 protected:
  void SetUp() override {
    RenderGlTest::SetUp();
    clearParticles();
    renderer.createParticleBuffers();
    // Two red sparks at rest, left and right of the view's centre; the right one half faded.
    spawnParticles(2, 0, glm::vec3(-1.5f, 0.0f, -5.0f));
    particlePool[1].position = glm::vec3(1.5f, 0.0f, -5.0f);
    for (int slot : {0, 1}) {
      Particle& particle = particlePool[slot];
      particle.velocity = glm::vec3(0.0f);
      particle.size = 1.5f;
      particle.r = 255;
      particle.g = particle.b = 0;
    }
    particlePool[1].life = 0.6f;
    updateParticles(0.1f);  // alpha 127 for the right one
  }
  void TearDown() override {
    clearParticles();
    RenderGlTest::TearDown();
  }

  std::vector<unsigned char> draw(bool blending) {
    settings.blending = blending;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, SIZE, SIZE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.drawParticles(glm::mat4(1.0f), halfProjection(tanHalfFieldOfView(), 1.0f, 0.1f, 100.0f),
                           program.get(), &settings);
    glReadBuffer(GL_BACK);
    return readPixels(SIZE, SIZE);
  }
  static unsigned char red(const std::vector<unsigned char>& pixels, int x, int y) {
    return pixels[(static_cast<size_t>(y) * SIZE + x) * 4];
  }

  std::unique_ptr<scene::ShaderProgram> program = loadProgram("particle");
  ParticleRenderer renderer;
  game::RenderSettings settings;
};

TEST_F(ParticleRendererTest, OneDrawCoversTheLiveParticlesAndBlendingFollowsTheSettings) {
  ASSERT_EQ(particleCount, 2);
  const std::vector<unsigned char> opaque = draw(false);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(red(opaque, 15, 32), 255);
  EXPECT_EQ(red(opaque, 49, 32), 255);  // alpha ignored
  EXPECT_EQ(red(opaque, 32, 32), 0);
  EXPECT_EQ(red(opaque, 15, 50), 0);

  const std::vector<unsigned char> blended = draw(true);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &source);
  glGetIntegerv(GL_BLEND_DST_RGB, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_NEAR(red(blended, 49, 32), 127, 2);  // half faded over black
  EXPECT_EQ(red(blended, 15, 32), 255);
}

}  // namespace
}  // namespace voidskirmish::render
