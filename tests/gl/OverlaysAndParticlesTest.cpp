#include <gtest/gtest.h>

#include "render/EnemyDirection.h"
#include "render/Overlays.h"
#include <memory>

#include "game/ParticlePool.h"
#include "render/ParticleRenderer.h"
#include "tests/gl/GlTest.h"

// What the scene pass draws over the scene: the particles, then each half's overlays.
namespace voidskirmish::render {
namespace {

constexpr int SIZE = 64;  // the hidden test window

using ParticleRendererTest = testing::GlTest;

// Two red sparks at rest left and right of the view's centre, the right one half faded: one draw uploads the
// live part of the pool, positions, sizes and colours, and blending follows the settings.
TEST_F(ParticleRendererTest, OneDrawShowsTheLiveParticlesAndBlendingFollowsTheSettings) {
  const auto program = loadProgram("particle");
  ParticleRenderer renderer;
  renderer.createParticleBuffers();
  auto pool = std::make_unique<game::ParticlePool>();
  game::Random random;
  pool->spawnParticles(2, 0, glm::vec3(-1.5f, 0.0f, -5.0f), random);
  pool->particlePool[1].position = glm::vec3(1.5f, 0.0f, -5.0f);
  for (int slot : {0, 1}) {
    game::Particle& particle = pool->particlePool[slot];
    particle.velocity = glm::vec3(0.0f);
    particle.size = 1.5f;
    particle.r = 255;
    particle.g = particle.b = 0;
  }
  pool->particlePool[1].life = 0.6f;
  pool->updateParticles(0.1f);  // alpha 127 for the right one
  ASSERT_EQ(pool->particleCount, 2);

  scene::RenderSettings settings;
  const auto draw = [&](bool blending) {
    settings.blending = blending;
    glViewport(0, 0, SIZE, SIZE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.drawParticles(*pool, glm::mat4(1.0f), halfProjection(tanHalfFieldOfView(), 1.0f, 0.1f, 100.0f),
                           program.get(), &settings);
    glReadBuffer(GL_BACK);
    return testing::Picture(SIZE, SIZE);
  };
  const testing::Picture opaque = draw(false);
  EXPECT_EQ(glm::ivec4(opaque.at(15, 32).r, opaque.at(49, 32).r, opaque.at(32, 32).r, opaque.at(15, 50).r),
            glm::ivec4(255, 255, 0, 0));  // alpha ignored: both sparks full red, nothing between or above them
  const testing::Picture blended = draw(true);
  EXPECT_EQ(blended.at(15, 32).r, 255);
  EXPECT_NEAR(blended.at(49, 32).r, 127, 2);  // half faded over black
}

using OverlaysTest = testing::GlTest;

// The upper half of a 1024 × 768 window, drawn off screen: the arrow and the segment font's score and mark.
TEST_F(OverlaysTest, ArrowScoreAndPausedMarkLandWhereTheHalfShowsThem) {
  constexpr int WIDTH = 1024, HEIGHT = 768, HALF = HEIGHT / 2, MIDDLE = WIDTH / 2;
  const testing::OffscreenTarget target{WIDTH, HALF, {0.0f, 0.0f, 0.0f, 1.0f}};
  const auto arrowProgram = loadProgram("enemyDirectionArrow"), colorProgram = loadProgram("drawColor");
  Overlays overlays;
  overlays.createOverlayBuffers(arrowProgram.get(), colorProgram.get());
  glDisable(GL_DEPTH_TEST);
  overlays.drawDirectionArrow(true, false, false, false, WIDTH, HEIGHT);
  overlays.drawScore(1, 0, false, WIDTH, HEIGHT);
  overlays.drawPausedMark(WIDTH, HEIGHT);

  const int arrowY = static_cast<int>((1.0f - 1.0f / 1.7f) / 2.0f * HALF) + 6;
  const struct { int x, y; glm::ivec3 colour; } points[] = {
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
