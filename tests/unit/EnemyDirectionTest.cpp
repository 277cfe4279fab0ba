#include <gtest/gtest.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>

#include "render/EnemyDirection.h"

namespace voidskirmish::render {
namespace {

constexpr float ASPECT = 1024.0f / 384.0f;

class EnemyDirectionTest : public ::testing::Test {
 protected:
  // The viewer sits at the origin looking along −z; an enemy 10 ahead at the given normalised coordinates.
  EnemyDirection at(float ndcX, float ndcY) const {
    const float depth = 10.0f;
    const glm::vec3 enemy(ndcX * depth / projection[0][0], ndcY * depth / projection[1][1], -depth);
    return classifyEnemy(glm::mat4(1.0f), projection, enemy, glm::vec3(0.0f), forward);
  }

  const glm::mat4 projection = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  const glm::vec3 forward{0.0f, 0.0f, -1.0f};
};

TEST_F(EnemyDirectionTest, ProjectionUses22Point5Radians) {
  EXPECT_NEAR(tanHalfFieldOfView(), 0.5578517f, 1e-6f);
  const glm::mat4 expected = glm::perspective(2.0f * 22.5f, ASPECT, 0.1f, 10000.0f);
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(projection[c][r], expected[c][r], 1e-5f * std::abs(expected[c][r]) + 1e-7f) << c << "," << r;
    }
  }
  EXPECT_FLOAT_EQ(projection[1][1], 1.0f / 0.5578517f);
  EXPECT_FLOAT_EQ(projection[2][3], -1.0f);
}

TEST_F(EnemyDirectionTest, MarginBeyondTheEdgeStillCountsAsOnScreen) {
  EXPECT_EQ(at(0.0f, 0.0f), EnemyDirection::OnScreen);
  EXPECT_EQ(at(1.2f, 0.0f), EnemyDirection::OnScreen);
  EXPECT_EQ(at(1.6f, 0.0f), EnemyDirection::Right);
  EXPECT_EQ(at(-1.6f, 0.0f), EnemyDirection::Left);
  EXPECT_EQ(at(0.0f, 1.6f), EnemyDirection::Above);
  EXPECT_EQ(at(0.0f, -1.6f), EnemyDirection::Below);
  EXPECT_EQ(at(-1.4f, 1.4f), EnemyDirection::OnScreen);
}

TEST_F(EnemyDirectionTest, CornersResolveInTheOrderRightAboveLeftBelow) {
  EXPECT_EQ(at(2.0f, 2.0f), EnemyDirection::Right);
  EXPECT_EQ(at(2.0f, -2.0f), EnemyDirection::Right);
  EXPECT_EQ(at(-2.0f, 2.0f), EnemyDirection::Above);
  EXPECT_EQ(at(-2.0f, -2.0f), EnemyDirection::Left);
}

TEST_F(EnemyDirectionTest, BehindTheOwnShipIsBelowEvenWhenProjectedOnScreen) {
  // Straight behind: projects to the centre, yet the arrow points down.
  EXPECT_EQ(classifyEnemy(glm::mat4(1.0f), projection, {0.0f, 0.0f, 10.0f}, glm::vec3(0.0f), forward),
            EnemyDirection::Below);
  // Behind and off to the side still comes first.
  EXPECT_EQ(classifyEnemy(glm::mat4(1.0f), projection, {50.0f, 0.0f, 1.0f}, glm::vec3(0.0f), forward),
            EnemyDirection::Below);
  // "Behind" is measured from the ship, not the chase camera 5 units back: an enemy between them is in
  // front of the camera but behind the ship.
  const glm::mat4 chaseView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -5.0f));
  EXPECT_EQ(classifyEnemy(chaseView, projection, {0.0f, 0.0f, 2.0f}, glm::vec3(0.0f), forward),
            EnemyDirection::Below);
  EXPECT_EQ(classifyEnemy(chaseView, projection, {0.0f, 0.0f, -2.0f}, glm::vec3(0.0f), forward),
            EnemyDirection::OnScreen);
}

}  // namespace
}  // namespace voidskirmish::render
