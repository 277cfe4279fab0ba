#include <gtest/gtest.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_relational.hpp>
#include <glm/ext/matrix_transform.hpp>

#include <cmath>

#include "game/objects/Spaceship.h"
#include "render/EnemyDirection.h"

namespace voidskirmish::render {
namespace {

constexpr float ASPECT = 1024.0f / 384.0f;

class EnemyDirectionTest : public ::testing::Test {
 protected:
  // The viewer at the origin looks along −z; the enemy is 10 ahead at the given normalised coordinates.
  EnemyDirection at(float ndcX, float ndcY) const {
    const glm::vec3 enemy(ndcX * 10.0f / projection[0][0], ndcY * 10.0f / projection[1][1], -10.0f);
    return classify(glm::mat4(1.0f), enemy);
  }
  EnemyDirection classify(const glm::mat4& view, glm::vec3 enemy) const {
    return classifyEnemy(view, projection, enemy, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
  }

  const glm::mat4 projection = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
};

TEST_F(EnemyDirectionTest, ProjectionTakes22Point5AsRadians) {
  EXPECT_NEAR(tanHalfFieldOfView(), std::tan(22.5f), 1e-6f);
  EXPECT_TRUE(glm::all(glm::equal(projection, glm::perspective(45.0f, ASPECT, 0.1f, 10000.0f), 1e-5f)));
}

TEST_F(EnemyDirectionTest, MarginCountsAsOnScreenAndCornersResolveRightAboveLeftBelow) {
  const struct {
    float x, y;
    EnemyDirection expected;
  } cases[] = {
      {0.0f, 0.0f, EnemyDirection::OnScreen},  {1.2f, 0.0f, EnemyDirection::OnScreen},
      {-1.4f, 1.4f, EnemyDirection::OnScreen}, {1.6f, 0.0f, EnemyDirection::Right},
      {-1.6f, 0.0f, EnemyDirection::Left},     {0.0f, 1.6f, EnemyDirection::Above},
      {0.0f, -1.6f, EnemyDirection::Below},    {2.0f, 2.0f, EnemyDirection::Right},
      {2.0f, -2.0f, EnemyDirection::Right},    {-2.0f, 2.0f, EnemyDirection::Above},
      {-2.0f, -2.0f, EnemyDirection::Left},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(at(c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
}

TEST_F(EnemyDirectionTest, BehindTheOwnShipIsBelowEvenWhenProjectedOnScreen) {
  EXPECT_EQ(classify(glm::mat4(1.0f), {0.0f, 0.0f, 10.0f}), EnemyDirection::Below);  // projects to the centre
  EXPECT_EQ(classify(glm::mat4(1.0f), {50.0f, 0.0f, 1.0f}), EnemyDirection::Below);
  // Measured from the ship, not the chase camera 5 units back: between them is behind the ship.
  const glm::mat4 chaseView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -5.0f));
  EXPECT_EQ(classify(chaseView, {0.0f, 0.0f, 2.0f}), EnemyDirection::Below);
  EXPECT_EQ(classify(chaseView, {0.0f, 0.0f, -2.0f}), EnemyDirection::OnScreen);
}

TEST_F(EnemyDirectionTest, EnemyBehindTheCameraPlaneButAheadOfTheShipKeepsItsTrueSide) {
  // At the start each ship stands level with the other, behind the other's camera, which is 2.2 units ahead.
  using game::objects::Spaceship;
  const Spaceship ship1(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  const Spaceship ship2(glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f), nullptr);
  const auto seenBy = [&](const Spaceship& own, const Spaceship& enemy) {
    const glm::vec3 forward(own.camera->modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f));
    return classifyEnemy(own.getViewMatrix(), projection, enemy.position(), own.position(), forward);
  };
  EXPECT_EQ(seenBy(ship1, ship2), EnemyDirection::Right);
  EXPECT_EQ(seenBy(ship2, ship1), EnemyDirection::Left);

  // A camera 5 units ahead of the ship at the origin: just before, on and just behind its plane, and between.
  const glm::mat4 leadView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 5.0f));
  const struct {
    glm::vec3 enemy;
    EnemyDirection expected;
  } cases[] = {
      {{10.0f, 0.0f, -5.01f}, EnemyDirection::Right}, {{10.0f, 0.0f, -5.0f}, EnemyDirection::Right},
      {{10.0f, 0.0f, -4.99f}, EnemyDirection::Right}, {{-10.0f, 0.0f, -4.99f}, EnemyDirection::Left},
      {{0.0f, 10.0f, -2.0f}, EnemyDirection::Above},  {{0.5f, 0.0f, -1.0f}, EnemyDirection::Right},
      {{1.0f, -0.5f, -1.0f}, EnemyDirection::Below},  {{0.0f, 0.0f, -5.0f}, EnemyDirection::Below},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(classify(leadView, c.enemy), c.expected) << c.enemy.x << ", " << c.enemy.y << ", " << c.enemy.z;
  }
}

}  // namespace
}  // namespace voidskirmish::render
