#include <gtest/gtest.h>

#include <vector>

#include "render/AutoRenderScale.h"

namespace voidskirmish::render {
namespace {

// Frames that cost a fixed part plus a part that grows with the pixel count: the scale steps once a second at
// most, down while over the budget, and settles (once) where it stays within it; it never passes 0.25 or 1.
TEST(AutoRenderScaleTest, StepsOnceASecondAtMostAndSettlesWithinTheBudget) {
  const struct { double fixed, perPixel, budget; float settled; } cases[] = {
      {0.020, 0.080, 0.033, 0.40f}, {0.010, 0.020, 0.100, 1.0f}, {0.050, 0.500, 0.033, 0.25f}};
  for (const auto& c : cases) {
    AutoRenderScale scale(c.budget);
    std::vector<double> moves;
    std::vector<float> settled;
    double now = 0.0;
    for (int frame = 0; frame < 2000; ++frame) {
      if (const auto change = scale.frame(now); change && change->settled) {
        settled.push_back(change->scale);
      } else if (change) {
        moves.push_back(now);
      }
      now += c.fixed + c.perPixel * scale.scale() * scale.scale();
    }
    EXPECT_EQ(settled, std::vector<float>{c.settled}) << c.budget;
    for (size_t i = 1; i < moves.size(); ++i) {
      EXPECT_GE(moves[i] - moves[i - 1], 1.0) << c.budget;
    }
  }
}

}  // namespace
}  // namespace voidskirmish::render
