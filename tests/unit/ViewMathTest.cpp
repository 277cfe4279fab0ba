#include <gtest/gtest.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_relational.hpp>
#include <glm/ext/matrix_transform.hpp>

#include <cmath>

#include "game/objects/Spaceship.h"
#include "render/EnemyDirection.h"
#include "render/Frustum.h"
#include "render/OverlayMath.h"

// What each half sees: its projection, the enemy's direction, the culling frustum and the overlays' placement.
namespace voidskirmish::render {
namespace {

constexpr float ASPECT = 1024.0f / 384.0f;  // a half of a 1024 × 768 window

EnemyDirection classify(const glm::mat4& view, glm::vec3 enemy) {
  const glm::mat4 projection = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  return classifyEnemy(view, projection, enemy, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
}

TEST(EnemyDirectionTest, ProjectionTakes22Point5AsRadiansTheMarginCountsAsOnScreenAndBehindIsBelow) {
  EXPECT_NEAR(tanHalfFieldOfView(), 0.5578517f, 1e-6f);  // read as degrees it would be 0.41421
  const glm::mat4 projection = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  EXPECT_TRUE(glm::all(glm::equal(projection, glm::perspective(45.0f, ASPECT, 0.1f, 10000.0f), 1e-5f)));
  // The viewer at the origin looks along −z; the enemy is 10 ahead at the given normalised coordinates.
  const struct { float x, y; EnemyDirection expected; } cases[] = {
      {0.0f, 0.0f, EnemyDirection::OnScreen},  {1.2f, 0.0f, EnemyDirection::OnScreen},
      {-1.4f, 1.4f, EnemyDirection::OnScreen}, {1.6f, 0.0f, EnemyDirection::Right},
      {-1.6f, 0.0f, EnemyDirection::Left},     {0.0f, 1.6f, EnemyDirection::Above},
      {0.0f, -1.6f, EnemyDirection::Below},    {2.0f, 2.0f, EnemyDirection::Right},
      {2.0f, -2.0f, EnemyDirection::Right},    {-2.0f, 2.0f, EnemyDirection::Above},
      {-2.0f, -2.0f, EnemyDirection::Left},
  };
  for (const auto& c : cases) {
    const glm::vec3 enemy(c.x * 10.0f / projection[0][0], c.y * 10.0f / projection[1][1], -10.0f);
    EXPECT_EQ(classify(glm::mat4(1.0f), enemy), c.expected) << c.x << ", " << c.y;
  }
  // Behind the own ship is below, even where it projects onto the screen.
  EXPECT_EQ(classify(glm::mat4(1.0f), {0.0f, 0.0f, 10.0f}), EnemyDirection::Below);  // projects to the centre
  EXPECT_EQ(classify(glm::mat4(1.0f), {50.0f, 0.0f, 1.0f}), EnemyDirection::Below);
  // Measured from the ship, not the chase camera 5 units back: between them is behind the ship.
  const glm::mat4 chaseView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -5.0f));
  EXPECT_EQ(classify(chaseView, {0.0f, 0.0f, 2.0f}), EnemyDirection::Below);
  EXPECT_EQ(classify(chaseView, {0.0f, 0.0f, -2.0f}), EnemyDirection::OnScreen);
}

TEST(EnemyDirectionTest, EnemyBehindTheCameraPlaneButAheadOfTheShipKeepsItsTrueSide) {
  // At the start each ship stands level with the other, behind the other's camera, which is 2.2 units ahead.
  using game::objects::Spaceship;
  const Spaceship ship1(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  const Spaceship ship2(glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f), nullptr);
  const glm::mat4 projection = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  const auto seenBy = [&](const Spaceship& own, const Spaceship& enemy) {
    const glm::vec3 forward(own.camera->modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f));
    return classifyEnemy(own.getViewMatrix(), projection, enemy.position(), own.position(), forward);
  };
  EXPECT_EQ(seenBy(ship1, ship2), EnemyDirection::Right);
  EXPECT_EQ(seenBy(ship2, ship1), EnemyDirection::Left);

  // A camera 5 units ahead of the ship at the origin: just before, on and just behind its plane, and between.
  const glm::mat4 leadView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 5.0f));
  const struct { glm::vec3 enemy; EnemyDirection expected; } cases[] = {
      {{10.0f, 0.0f, -5.01f}, EnemyDirection::Right}, {{10.0f, 0.0f, -5.0f}, EnemyDirection::Right},
      {{10.0f, 0.0f, -4.99f}, EnemyDirection::Right}, {{-10.0f, 0.0f, -4.99f}, EnemyDirection::Left},
      {{0.0f, 10.0f, -2.0f}, EnemyDirection::Above},  {{0.5f, 0.0f, -1.0f}, EnemyDirection::Right},
      {{1.0f, -0.5f, -1.0f}, EnemyDirection::Below},  {{0.0f, 0.0f, -5.0f}, EnemyDirection::Below},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(classify(leadView, c.enemy), c.expected) << c.enemy.x << ", " << c.enemy.y << ", " << c.enemy.z;
  }
}

Frustum frustumAt(glm::vec3 position, glm::vec3 lookAt) {
  Frustum f;
  f.setCameraInternals(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  f.setCameraPose(position, lookAt, {0.0f, 1.0f, 0.0f});
  return f;
}

TEST(FrustumTest, PlanesPointInwardAreNamedForTheirSideAndSpheresFollowTheStrictComparisons) {
  const Frustum f = frustumAt({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
  for (const FrustumPlane& plane : f.planes) {
    EXPECT_GT(plane.distance({0.0f, 0.0f, -10.0f}), 0.0f);
    EXPECT_NEAR(glm::length(plane.normal), 1.0f, 1e-6f);
  }
  // A point just past each side is outside that plane only.
  const float y = 100.0f * f.tanHalfFov * 1.01f;
  const float x = y * f.aspect;
  const struct { glm::vec3 point; int outsidePlane; } cases[] = {
      {{0, y, -100}, Frustum::Top},   {{0, -y, -100}, Frustum::Bottom},      {{-x, 0, -100}, Frustum::Left},
      {{x, 0, -100}, Frustum::Right}, {{0, 0, -0.05f}, Frustum::Near},       {{0, 0, -10001}, Frustum::Far},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(f.planes[i].distance(c.point) < 0.0f, i == c.outsidePlane) << "plane " << i;
    }
  }

  EXPECT_EQ(f.testSphere({0.0f, 0.0f, -50.0f}, 1.0f), Frustum::Inside);
  EXPECT_EQ(f.testSphere({0.0f, 0.0f, -50.0f}, 100.0f), Frustum::Intersect);  // straddles the near plane
  EXPECT_EQ(f.testSphere({0.0f, 0.0f, 5.0f}, 1.0f), Frustum::Outside);        // behind the camera
  EXPECT_EQ(f.testSphere({0.0f, 500.0f, -50.0f}, 1.0f), Frustum::Outside);    // far above

  // Beyond the far plane by exactly its radius: touching counts as drawn, a hair less as outside.
  const glm::vec3 centre(0.0f, 0.0f, -10005.0f);
  const float touching = -f.planes[Frustum::Far].distance(centre);
  EXPECT_EQ(f.testSphere(centre, touching), Frustum::Intersect);
  EXPECT_EQ(f.testSphere(centre, std::nextafter(touching, 0.0f)), Frustum::Outside);
}

TEST(FrustumTest, TurnedCameraCarriesItsCornersAndPlanes) {
  // Looking along +x from (10, 0, 0): right is +z.
  const Frustum f = frustumAt({10.0f, 0.0f, 0.0f}, {11.0f, 0.0f, 0.0f});
  EXPECT_NEAR(f.nearTopRight.x, 10.1f, 1e-5f);
  EXPECT_TRUE(f.nearTopRight.z > 0.0f && f.nearTopRight.y > 0.0f && f.farBottomLeft.z < 0.0f);
  EXPECT_NEAR(f.farBottomLeft.y, -10000.0f * f.tanHalfFov, 0.01f);
  EXPECT_EQ(f.testSphere({30.0f, 0.0f, 0.0f}, 1.0f), Frustum::Inside);
  EXPECT_EQ(f.testSphere({0.0f, 0.0f, 0.0f}, 1.0f), Frustum::Outside);
  EXPECT_EQ(f.testSphere({20.0f, 0.0f, 40.0f}, 1.0f), Frustum::Outside);  // off to the right
  EXPECT_EQ(f.testSphere({20.0f, 0.0f, 10.0f}, 1.0f), Frustum::Inside);
}

glm::vec2 place(const glm::mat4& model, float x, float y) { return glm::vec2(model * glm::vec4(x, y, 0.0f, 1.0f)); }

TEST(OverlayMathTest, CrosshairKeepsItsPixelProportionsAndTheLifeBarShrinksTowardItsCentre) {
  const glm::mat4 horizontal = crosshairModel(0, 1024, 768);
  const glm::mat4 vertical = crosshairModel(1, 1024, 768);
  EXPECT_NEAR(place(horizontal, 0.05f, 0.0f).x - place(horizontal, -0.05f, 0.0f).x, 0.0375f, 1e-6f);
  EXPECT_NEAR(place(vertical, 0.05f, 0.0f).y - place(vertical, -0.05f, 0.0f).y, 0.13333f, 1e-5f);
  EXPECT_NEAR(place(vertical, 0.05f, 0.0f).x, 0.0f, 1e-6f);
  // The integer half: an odd height gives the same width as one pixel less.
  EXPECT_EQ(crosshairModel(0, 1024, 769)[0][0], horizontal[0][0]);

  for (const auto& [life, halfWidth] : {std::pair{10.0f, 0.15f}, std::pair{5.0f, 0.075f}, std::pair{0.0f, 0.0f}}) {
    const glm::mat4 model = lifeBarModel(life);
    EXPECT_NEAR(place(model, LIFE_BAR_VERTICES[0], LIFE_BAR_VERTICES[1]).x, halfWidth, 1e-6f);
    EXPECT_NEAR(place(model, LIFE_BAR_VERTICES[6], LIFE_BAR_VERTICES[7]).x, -halfWidth, 1e-6f);
    EXPECT_FLOAT_EQ(place(model, LIFE_BAR_VERTICES[6], LIFE_BAR_VERTICES[7]).y, -0.85f);
  }
}

TEST(OverlayMathTest, ArrowPointsItsWayAndSitsAtTheSameHeightAtAnySize) {
  const struct { bool left, above, right, below; glm::vec2 direction; } cases[] = {
      {true, false, false, false, {-1, 0}}, {false, true, false, false, {0, 1}},
      {false, false, true, false, {1, 0}},  {false, false, false, true, {0, -1}},
  };
  for (const auto& c : cases) {
    for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{1280, 1024}, std::pair{300, 200}}) {
      const glm::mat4 model = directionArrowModel(c.left, c.above, c.right, c.below, w, h);
      const glm::vec2 origin = place(model, 0.0f, 0.0f);
      EXPECT_NEAR(glm::distance(origin, glm::vec2(0.0f, -1.0f / 1.7f)), 0.0f, 1e-5f);
      const glm::vec2 tip = glm::normalize(place(model, 0.0f, 0.06f) - origin);
      EXPECT_NEAR(glm::dot(tip, c.direction), 1.0f, 1e-5f) << w << "x" << h;
    }
  }
}

}  // namespace
}  // namespace voidskirmish::render
