#include <gtest/gtest.h>

#include "render/EnemyDirection.h"
#include "render/Overlays.h"
#include "render/ParticlePool.h"
#include "render/ParticleRenderer.h"
#include "tests/gl/GlTest.h"

// What the scene pass draws over the scene: the particles, then each half's overlays.
namespace voidskirmish::render {
namespace {

constexpr int SIZE = 64;  // the hidden test window

class ParticleRendererTest : public testing::GlTest {
 protected:
  void TearDown() override {
    clearParticles();
    GlTest::TearDown();
  }

  testing::Picture draw(bool blending) {
    settings.blending = blending;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, SIZE, SIZE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.drawParticles(glm::mat4(1.0f), halfProjection(tanHalfFieldOfView(), 1.0f, 0.1f, 100.0f),
                           program.get(), &settings);
    glReadBuffer(GL_BACK);
    return testing::Picture(SIZE, SIZE);
  }

  std::unique_ptr<scene::ShaderProgram> program = loadProgram("particle");
  ParticleRenderer renderer;
  game::RenderSettings settings;
};

TEST_F(ParticleRendererTest, OneDrawCoversTheLiveParticlesAndBlendingFollowsTheSettings) {
  renderer.createParticleBuffers();
  // Two red sparks at rest, left and right of the view's centre; the right one half faded.
  clearParticles();
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
  ASSERT_EQ(particleCount, 2);

  const testing::Picture opaque = draw(false);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(glm::ivec4(opaque.at(15, 32).r, opaque.at(49, 32).r, opaque.at(32, 32).r, opaque.at(15, 50).r),
            glm::ivec4(255, 255, 0, 0));  // alpha ignored: both sparks full red, nothing between or above them

  const testing::Picture blended = draw(true);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &source);
  glGetIntegerv(GL_BLEND_DST_RGB, &destination);
  EXPECT_EQ(glm::ivec2(source, destination), glm::ivec2(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_NEAR(blended.at(49, 32).r, 127, 2);  // half faded over black
  EXPECT_EQ(blended.at(15, 32).r, 255);
}

using OverlaysTest = testing::GlTest;

// The upper half of a 1024 × 768 window, drawn off screen.
TEST_F(OverlaysTest, LifeBarCrosshairAndArrowLandWhereTheHalfShowsThem) {
  constexpr int WIDTH = 1024, HEIGHT = 768, HALF = HEIGHT / 2, MIDDLE = WIDTH / 2;
  const testing::OffscreenTarget target{WIDTH, HALF, false, {0.0f, 0.0f, 0.0f, 1.0f}};
  const auto arrowProgram = loadProgram("enemyDirectionArrow"), colorProgram = loadProgram("drawColor");
  Overlays overlays;
  overlays.createOverlayBuffers(arrowProgram.get(), colorProgram.get());
  glDisable(GL_DEPTH_TEST);
  overlays.drawLifeBar(5.0f, {0.0f, 0.0f, 1.0f});
  overlays.drawCrosshair(WIDTH, HEIGHT);
  overlays.drawDirectionArrow(true, false, false, false, WIDTH, HEIGHT);
  overlays.drawScore(1, 0, WIDTH, HEIGHT);
  overlays.drawPausedMark(WIDTH, HEIGHT);

  const int barY = static_cast<int>(0.1f * HALF);
  const int arrowY = static_cast<int>((1.0f - 1.0f / 1.7f) / 2.0f * HALF) + 6;
  const struct { int x, y; glm::ivec3 colour; } points[] = {
      // Life bar at y = −0.8, half its full width at 5 points: 0.075 of the half width is 38.4 pixels.
      {MIDDLE - 35, barY, {0, 0, 255}}, {MIDDLE + 42, barY, {0, 0, 0}},
      // Crosshair: a 19.2-pixel horizontal and a 25.6-pixel vertical bar in the middle.
      {MIDDLE + 8, HALF / 2, {0, 255, 0}}, {MIDDLE + 12, HALF / 2, {0, 0, 0}},
      {MIDDLE, HALF / 2 + 11, {0, 255, 0}}, {MIDDLE, HALF / 2 + 15, {0, 0, 0}},
      // Arrow pointing left from y = −1/1.7: wide at its base on the right, narrow at its tip on the left.
      {MIDDLE + 8, arrowY, {255, 0, 0}}, {MIDDLE - 8, arrowY, {0, 0, 0}},
      // "1 - 0" 26.9 pixels high from y = 341.8, starting at x = 458.2, one cell every 22.8 pixels: the 1's upper
      // right stroke in the own green and no left stroke, the dash, the 0's upper left stroke in red, its hollow.
      {472, 362, {0, 255, 0}}, {461, 362, {0, 0, 0}}, {512, 355, {204, 204, 204}}, {551, 362, {255, 0, 0}},
      {558, 355, {0, 0, 0}},
      // "PAUSED" 38.4 pixels high from y = 249.6, starting at x = 418.9: P has its upper left stroke only.
      {421, 278, {255, 255, 255}}, {439, 258, {0, 0, 0}}, {421, 258, {255, 255, 255}},
  };
  for (const auto& p : points) {
    EXPECT_EQ(glm::ivec3(pixel(p.x, p.y)), p.colour) << p.x << ", " << p.y;
  }
}

}  // namespace
}  // namespace voidskirmish::render
