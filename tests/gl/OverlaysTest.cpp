#include <gtest/gtest.h>

#include "render/Overlays.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::render {
namespace {

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

  const int barY = static_cast<int>(0.1f * HALF);
  const int arrowY = static_cast<int>((1.0f - 1.0f / 1.7f) / 2.0f * HALF) + 6;
  const struct {
    int x, y;
    glm::ivec3 colour;
  } points[] = {
      // Life bar at y = −0.8, half its full width at 5 points: 0.075 of the half width is 38.4 pixels.
      {MIDDLE - 35, barY, {0, 0, 255}}, {MIDDLE + 42, barY, {0, 0, 0}},
      // Crosshair: a 19.2-pixel horizontal and a 25.6-pixel vertical bar in the middle.
      {MIDDLE + 8, HALF / 2, {0, 255, 0}}, {MIDDLE + 12, HALF / 2, {0, 0, 0}},
      {MIDDLE, HALF / 2 + 11, {0, 255, 0}}, {MIDDLE, HALF / 2 + 15, {0, 0, 0}},
      // Arrow pointing left from y = −1/1.7: wide at its base on the right, narrow at its tip on the left.
      {MIDDLE + 8, arrowY, {255, 0, 0}}, {MIDDLE - 8, arrowY, {0, 0, 0}},
  };
  for (const auto& p : points) {
    EXPECT_EQ(glm::ivec3(pixel(p.x, p.y)), p.colour) << p.x << ", " << p.y;
  }
}

}  // namespace
}  // namespace voidskirmish::render
