#include <gtest/gtest.h>

#include <glm/vec3.hpp>


#include "render/Overlays.h"
#include "scene/GlName.h"
#include "tests/gl/RenderGlTest.h"

namespace voidskirmish::render {
namespace {

// The upper half of a 1024 × 768 window, drawn off screen.
constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr int HALF = HEIGHT / 2;

class OverlaysTest : public testing::RenderGlTest {
 protected:
  void SetUp() override {
    RenderGlTest::SetUp();
    overlays.createOverlayBuffers(arrowProgram.get(), colorProgram.get());
    glBindFramebuffer(GL_FRAMEBUFFER, target.get());
    glBindRenderbuffer(GL_RENDERBUFFER, colour.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, WIDTH, HALF);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.get());
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, WIDTH, HALF);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  glm::ivec3 pixel(int x, int y) const {
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
  }

  std::unique_ptr<scene::ShaderProgram> arrowProgram = loadProgram("enemyDirectionArrow");
  std::unique_ptr<scene::ShaderProgram> colorProgram = loadProgram("drawColor");
  Overlays overlays;
  scene::GlFramebuffer target = scene::makeFramebuffer();
  scene::GlRenderbuffer colour = scene::makeRenderbuffer();
};

TEST_F(OverlaysTest, LifeBarCrosshairAndArrowLandWhereTheHalfShowsThem) {
  overlays.drawLifeBar(5.0f, {0.0f, 0.0f, 1.0f});
  overlays.drawCrosshair(WIDTH, HEIGHT);
  overlays.drawDirectionArrow(true, false, false, false, WIDTH, HEIGHT);

  // Life bar at y = −0.8, half its full width at 5 points: 0.075 of the half width is 38.4 pixels.
  const int barY = static_cast<int>(0.1f * HALF);
  EXPECT_EQ(pixel(WIDTH / 2 - 35, barY), glm::ivec3(0, 0, 255));
  EXPECT_EQ(pixel(WIDTH / 2 + 42, barY), glm::ivec3(0));
  // Crosshair: a 19.2-pixel horizontal and a 25.6-pixel vertical bar in the middle.
  EXPECT_EQ(pixel(WIDTH / 2 + 8, HALF / 2), glm::ivec3(0, 255, 0));
  EXPECT_EQ(pixel(WIDTH / 2 + 12, HALF / 2), glm::ivec3(0));
  EXPECT_EQ(pixel(WIDTH / 2, HALF / 2 + 11), glm::ivec3(0, 255, 0));
  EXPECT_EQ(pixel(WIDTH / 2, HALF / 2 + 15), glm::ivec3(0));
  // Arrow pointing left from y = −1/1.7: wide at its base on the right, narrow at its tip on the left.
  const int arrowY = static_cast<int>((1.0f - 1.0f / 1.7f) / 2.0f * HALF);
  EXPECT_EQ(pixel(WIDTH / 2 + 8, arrowY + 6), glm::ivec3(255, 0, 0));
  EXPECT_EQ(pixel(WIDTH / 2 - 8, arrowY + 6), glm::ivec3(0));
}

}  // namespace
}  // namespace voidskirmish::render
