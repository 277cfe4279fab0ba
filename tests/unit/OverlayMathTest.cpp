#include <gtest/gtest.h>

#include "render/OverlayMath.h"

namespace voidskirmish::render {
namespace {

glm::vec2 place(const glm::mat4& model, float x, float y) { return glm::vec2(model * glm::vec4(x, y, 0.0f, 1.0f)); }

TEST(OverlayMathTest, CrosshairBarsKeepTheirPixelProportionsOn1024x768) {
  const glm::mat4 horizontal = crosshairModel(0, 1024, 768);
  const glm::mat4 vertical = crosshairModel(1, 1024, 768);
  EXPECT_NEAR(place(horizontal, 0.05f, 0.0f).x - place(horizontal, -0.05f, 0.0f).x, 0.0375f, 1e-6f);
  EXPECT_NEAR(place(vertical, 0.05f, 0.0f).y - place(vertical, -0.05f, 0.0f).y, 0.13333f, 1e-5f);
  EXPECT_NEAR(place(vertical, 0.05f, 0.0f).x, 0.0f, 1e-6f);
  // The integer half: an odd height gives the same width as one pixel less.
  EXPECT_EQ(crosshairModel(0, 1024, 769)[0][0], horizontal[0][0]);
}

TEST(OverlayMathTest, ArrowPointsItsWayAndSitsAtTheSameHeightAtAnySize) {
  const struct { bool left, above, right, below; glm::vec2 direction; } cases[] = {
      {true, false, false, false, {-1, 0}},
      {false, true, false, false, {0, 1}},
      {false, false, true, false, {1, 0}},
      {false, false, false, true, {0, -1}},
  };
  for (const auto& c : cases) {
    for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{1280, 1024}, std::pair{300, 200}}) {
      const glm::mat4 model = directionArrowModel(c.left, c.above, c.right, c.below, w, h);
      const glm::vec2 origin = place(model, 0.0f, 0.0f);
      EXPECT_NEAR(origin.x, 0.0f, 1e-6f);
      EXPECT_NEAR(origin.y, -1.0f / 1.7f, 1e-5f);
      const glm::vec2 tip = glm::normalize(place(model, 0.0f, 0.06f) - origin);
      EXPECT_NEAR(glm::dot(tip, c.direction), 1.0f, 1e-5f) << w << "x" << h;
    }
  }
}

TEST(OverlayMathTest, LifeBarShrinksTowardItsCentre) {
  for (const auto& [life, halfWidth] : {std::pair{10.0f, 0.15f}, std::pair{5.0f, 0.075f}, std::pair{0.0f, 0.0f}}) {
    const glm::mat4 model = lifeBarModel(life);
    EXPECT_NEAR(place(model, LIFE_BAR_VERTICES[0], LIFE_BAR_VERTICES[1]).x, halfWidth, 1e-6f);
    EXPECT_NEAR(place(model, LIFE_BAR_VERTICES[6], LIFE_BAR_VERTICES[7]).x, -halfWidth, 1e-6f);
    EXPECT_FLOAT_EQ(place(model, LIFE_BAR_VERTICES[6], LIFE_BAR_VERTICES[7]).y, -0.85f);
  }
}

}  // namespace
}  // namespace voidskirmish::render
