#include <gtest/gtest.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_relational.hpp>
#include <glm/ext/matrix_transform.hpp>

#include "render/EnemyDirection.h"
#include "render/Frustum.h"
#include "render/OverlayMath.h"

// What each half sees: its projection, the enemy's direction, the culling frustum and the arrow's placement.
// The overlays' sizes at 1024 × 768 are measured on drawn pixels in tests/gl.
namespace voidskirmish::render {
namespace {

constexpr float ASPECT = 1024.0f / 384.0f;  // a half of a 1024 × 768 window
const glm::mat4 PROJECTION = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);

EnemyDirection classify(const glm::mat4& view, glm::vec3 enemy) {
  return classifyEnemy(view, PROJECTION, enemy, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
}

TEST(EnemyDirectionTest, ProjectionTakes22Point5AsRadiansAndTheMarginCountsAsOnScreen) {
  EXPECT_NEAR(tanHalfFieldOfView(), 0.5578517f, 1e-6f);  // read as degrees it would be 0.41421
  EXPECT_TRUE(glm::all(glm::equal(PROJECTION, glm::perspective(45.0f, ASPECT, 0.1f, 10000.0f), 1e-5f)));
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
    const glm::vec3 enemy(c.x * 10.0f / PROJECTION[0][0], c.y * 10.0f / PROJECTION[1][1], -10.0f);
    EXPECT_EQ(classify(glm::mat4(1.0f), enemy), c.expected) << c.x << ", " << c.y;
  }
}

TEST(EnemyDirectionTest, BehindTheShipIsBelowAndBehindTheCameraPlaneButAheadOfTheShipKeepsItsTrueSide) {
  // The ship at the origin; its camera 5 units behind (chase) or ahead (lead): measured from the ship. At the
  // start each ship stands level with the other, behind the other's camera, which is 2.2 units ahead.
  const glm::mat4 chase = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -5.0f));
  const glm::mat4 lead = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 5.0f));
  const struct { glm::mat4 view; glm::vec3 enemy; EnemyDirection expected; } cases[] = {
      {glm::mat4(1.0f), {0.0f, 0.0f, 10.0f}, EnemyDirection::Below},  // projects to the centre
      {glm::mat4(1.0f), {50.0f, 0.0f, 1.0f}, EnemyDirection::Below},
      {chase, {0.0f, 0.0f, 2.0f}, EnemyDirection::Below},  // between camera and ship
      {chase, {0.0f, 0.0f, -2.0f}, EnemyDirection::OnScreen},
      {lead, {10.0f, 0.0f, -5.01f}, EnemyDirection::Right}, {lead, {10.0f, 0.0f, -5.0f}, EnemyDirection::Right},
      {lead, {10.0f, 0.0f, -4.99f}, EnemyDirection::Right}, {lead, {-10.0f, 0.0f, -4.99f}, EnemyDirection::Left},
      {lead, {0.0f, 10.0f, -2.0f}, EnemyDirection::Above},  {lead, {0.5f, 0.0f, -1.0f}, EnemyDirection::Right},
      {lead, {1.0f, -0.5f, -1.0f}, EnemyDirection::Below},  {lead, {0.0f, 0.0f, -5.0f}, EnemyDirection::Below},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(classify(c.view, c.enemy), c.expected) << c.enemy.x << ", " << c.enemy.y << ", " << c.enemy.z;
  }
}

// Counts of what each pose culls are end to end in tests/replays/toggles.rec, touching spheres in tests/gl.
TEST(FrustumTest, EachPlanePointsInwardFromItsSideAndAllFollowATurnedCamera) {
  Frustum f;
  f.setCameraInternals(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  f.setCameraPose({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
  // A point just past each side is outside that plane only; the planes' normals are unit length.
  const float y = 100.0f * f.tanHalfFov * 1.01f;
  const float x = y * f.aspect;
  const struct { glm::vec3 point; int outsidePlane; } cases[] = {
      {{0, y, -100}, Frustum::Top},   {{0, -y, -100}, Frustum::Bottom},      {{-x, 0, -100}, Frustum::Left},
      {{x, 0, -100}, Frustum::Right}, {{0, 0, -0.05f}, Frustum::Near},       {{0, 0, -10001}, Frustum::Far},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(f.planes[i].distance(c.point) < 0.0f, i == c.outsidePlane) << "plane " << i;
      EXPECT_NEAR(glm::length(f.planes[i].normal), 1.0f, 1e-6f);
    }
  }
  EXPECT_EQ(f.testSphere({0.0f, 0.0f, -50.0f}, 100.0f), Frustum::Intersect);  // straddles the near plane

  // Looking along +x from (10, 0, 0), right is +z: ahead, behind, to the right, and above.
  f.setCameraPose({10.0f, 0.0f, 0.0f}, {11.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
  EXPECT_EQ(f.testSphere({30.0f, 0.0f, 10.0f}, 1.0f), Frustum::Inside);
  for (const glm::vec3 centre : {glm::vec3(0.0f), glm::vec3(20.0f, 0.0f, 40.0f), glm::vec3(20.0f, 40.0f, 0.0f)}) {
    EXPECT_EQ(f.testSphere(centre, 1.0f), Frustum::Outside) << centre.x << ", " << centre.y << ", " << centre.z;
  }
}

glm::vec2 place(const glm::mat4& model, float x, float y) { return glm::vec2(model * glm::vec4(x, y, 0.0f, 1.0f)); }

TEST(OverlayMathTest, ArrowPointsItsWayAndSitsAtTheSameHeightAtAnySize) {
  const struct { bool left, above, right, below; glm::vec2 direction; } cases[] = {
      {true, false, false, false, {-1, 0}}, {false, true, false, false, {0, 1}},
      {false, false, true, false, {1, 0}},  {false, false, false, true, {0, -1}},
  };
  for (const auto& c : cases) {
    for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{300, 200}}) {
      const glm::mat4 model = directionArrowModel(c.left, c.above, c.right, c.below, w, h);
      const glm::vec2 origin = place(model, 0.0f, 0.0f);
      EXPECT_NEAR(glm::distance(origin, glm::vec2(0.0f, -1.0f / 1.7f)), 0.0f, 1e-5f);
      const glm::vec2 tip = glm::normalize(place(model, 0.0f, 0.06f) - origin);
      EXPECT_NEAR(glm::dot(tip, c.direction), 1.0f, 1e-5f) << w << "x" << h;
    }
  }
  // The crosshair's width uses the integer half: an odd height gives the same as one pixel less.
  EXPECT_EQ(crosshairModel(0, 1024, 769)[0][0], crosshairModel(0, 1024, 768)[0][0]);
}

}  // namespace
}  // namespace voidskirmish::render
