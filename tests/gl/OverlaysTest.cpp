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

TEST_F(OverlaysTest, ScoreAndPausedMarkAreSegmentGlyphsCentredInTheHalf) {
  overlays.drawScore(1, 0, WIDTH, HEIGHT);
  overlays.drawPausedMark(WIDTH, HEIGHT);

  // "1 - 0" 26.9 pixels high between 341.8 and 368.6, starting at x = 458.2, one cell every 22.8 pixels.
  EXPECT_EQ(rgb(472, 362), glm::ivec3(0, 255, 0));  // the 1's upper right stroke, own green
  EXPECT_EQ(rgb(461, 362), glm::ivec3(0));          // and no left stroke
  EXPECT_EQ(rgb(512, 355), glm::ivec3(204));        // the dash
  EXPECT_EQ(rgb(551, 362), glm::ivec3(255, 0, 0));  // the 0's upper left stroke, enemy red
  EXPECT_EQ(rgb(558, 355), glm::ivec3(0));          // and nothing in its middle
  // "PAUSED" 38.4 pixels high from y = 249.6, starting at x = 418.9: P has its upper left stroke only.
  EXPECT_EQ(rgb(421, 278), glm::ivec3(255));
  EXPECT_EQ(rgb(439, 258), glm::ivec3(0));
  EXPECT_EQ(rgb(421, 258), glm::ivec3(255));
}

}  // namespace
}  // namespace voidskirmish::render
