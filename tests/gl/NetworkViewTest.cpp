#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <optional>

#include "game/Match.h"
#include "app/RunningGameState.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {
namespace {

class NetworkViewTest : public GlTest {
 protected:
  // The life points each ship loses in three frames far outside the arena.
  static std::array<float, 2> outOfBoundsLoss(std::optional<int> networkPlayer, int width, int height) {
    game::RunningGameState state(glfwGetCurrentContext(), networkPlayer);
    state.resize(width, height);
    game::Match& match = state.match();
    match.ship1->setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(1.0e5f, 0.0f, 0.0f)));
    match.ship2->setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 1.0e5f, 0.0f)));
    for (int frame = 0; frame < 3; ++frame) {
      state.update(0.01f);
      state.render();
    }
    return {10.0f - match.ship1->lifePoints, 10.0f - match.ship2->lifePoints};
  }
};

// A machine showing one ship's view, even minimised, applies both ships' rules as often as a local game does.
TEST_F(NetworkViewTest, OutOfBoundsRulesApplyToBothShipsOnceAFrameWhateverIsDrawn) {
  const std::array<float, 2> local = outOfBoundsLoss(std::nullopt, 64, 48);
  EXPECT_GT(local[0], 0.0f);
  EXPECT_EQ(local[1], local[0]);
  EXPECT_EQ(outOfBoundsLoss(1, 64, 48), local);
  EXPECT_EQ(outOfBoundsLoss(0, 0, 0), local);
  EXPECT_EQ(outOfBoundsLoss(std::nullopt, 0, 0)[0], 0.0f) << "a minimised local game draws no half";
}

}  // namespace
}  // namespace voidskirmish::testing
