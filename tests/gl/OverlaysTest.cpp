#include <gtest/gtest.h>

#include "render/Overlays.h"
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
    glDisable(GL_DEPTH_TEST);
  }
  static glm::ivec3 rgb(int x, int y) { return glm::ivec3(pixel(x, y)); }

  std::unique_ptr<scene::ShaderProgram> arrowProgram = loadProgram("enemyDirectionArrow");
  std::unique_ptr<scene::ShaderProgram> colorProgram = loadProgram("drawColor");
  Overlays overlays;
  testing::OffscreenTarget target{WIDTH, HALF, false, {0.0f, 0.0f, 0.0f, 1.0f}};
};

TEST_F(OverlaysTest, LifeBarCrosshairAndArrowLandWhereTheHalfShowsThem) {
  overlays.drawLifeBar(5.0f, {0.0f, 0.0f, 1.0f});
  overlays.drawCrosshair(WIDTH, HEIGHT);
  overlays.drawDirectionArrow(true, false, false, false, WIDTH, HEIGHT);

  // Life bar at y = −0.8, half its full width at 5 points: 0.075 of the half width is 38.4 pixels.
  const int barY = static_cast<int>(0.1f * HALF);
  EXPECT_EQ(rgb(WIDTH / 2 - 35, barY), glm::ivec3(0, 0, 255));
  EXPECT_EQ(rgb(WIDTH / 2 + 42, barY), glm::ivec3(0));
  // Crosshair: a 19.2-pixel horizontal and a 25.6-pixel vertical bar in the middle.
  EXPECT_EQ(rgb(WIDTH / 2 + 8, HALF / 2), glm::ivec3(0, 255, 0));
  EXPECT_EQ(rgb(WIDTH / 2 + 12, HALF / 2), glm::ivec3(0));
  EXPECT_EQ(rgb(WIDTH / 2, HALF / 2 + 11), glm::ivec3(0, 255, 0));
  EXPECT_EQ(rgb(WIDTH / 2, HALF / 2 + 15), glm::ivec3(0));
  // Arrow pointing left from y = −1/1.7: wide at its base on the right, narrow at its tip on the left.
  const int arrowY = static_cast<int>((1.0f - 1.0f / 1.7f) / 2.0f * HALF);
  EXPECT_EQ(rgb(WIDTH / 2 + 8, arrowY + 6), glm::ivec3(255, 0, 0));
  EXPECT_EQ(rgb(WIDTH / 2 - 8, arrowY + 6), glm::ivec3(0));
}

}  // namespace
}  // namespace voidskirmish::render
