#include <gtest/gtest.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_relational.hpp>
#include <glm/ext/matrix_transform.hpp>

#include "render/EnemyDirection.h"
#include "scene/Frustum.h"
#include "render/OverlayMath.h"

// What each half sees: its projection, the enemy's direction, the culling frustum and the arrow's placement.
// The overlays at 1024 × 768, the left arrow among them, are measured on drawn pixels in tests/gl.
namespace voidskirmish::render {
namespace {

constexpr float ASPECT = 1024.0f / 384.0f;  // a half of a 1024 × 768 window
const glm::mat4 PROJECTION = halfProjection(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);

EnemyDirection classify(const glm::mat4& view, glm::vec3 enemy) {
  return classifyEnemy(view, PROJECTION, enemy, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
}

// The point 10 ahead of a viewer at the origin, looking along −z, that projects to (x, y) on the screen.
glm::vec3 ahead(float x, float y) { return {x * 10.0f / PROJECTION[0][0], y * 10.0f / PROJECTION[1][1], -10.0f}; }

TEST(EnemyDirectionTest, ProjectionTakes22Point5AsRadiansTheMarginIsOnScreenAndTheCameraPlaneIsNoBorder) {
  EXPECT_NEAR(tanHalfFieldOfView(), 0.5578517f, 1e-6f);  // read as degrees it would be 0.41421
  EXPECT_TRUE(glm::all(glm::equal(PROJECTION, glm::perspective(45.0f, ASPECT, 0.1f, 10000.0f), 1e-5f)));
  // The ship at the origin, its camera there (own), 5 units behind (chase) or ahead (lead); the side is measured
  // from the ship. At the start each ship stands level with the other, behind the other's camera, 2.2 ahead.
  const glm::mat4 own(1.0f);
  const glm::mat4 chase = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -5.0f));
  const glm::mat4 lead = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 5.0f));
  const struct { glm::mat4 view; glm::vec3 enemy; EnemyDirection expected; } cases[] = {
      {own, ahead(0.0f, 0.0f), EnemyDirection::OnScreen},   {own, ahead(1.2f, 0.0f), EnemyDirection::OnScreen},
      {own, ahead(-1.4f, 1.4f), EnemyDirection::OnScreen},  {own, ahead(1.6f, 0.0f), EnemyDirection::Right},
      {own, ahead(-1.6f, 0.0f), EnemyDirection::Left},      {own, ahead(0.0f, 1.6f), EnemyDirection::Above},
      {own, ahead(0.0f, -1.6f), EnemyDirection::Below},     {own, ahead(2.0f, 2.0f), EnemyDirection::Right},
      {own, ahead(2.0f, -2.0f), EnemyDirection::Right},     {own, ahead(-2.0f, 2.0f), EnemyDirection::Above},
      {own, ahead(-2.0f, -2.0f), EnemyDirection::Left},
      {own, {0.0f, 0.0f, 10.0f}, EnemyDirection::Below},  // behind the ship, though it projects to the centre
      {own, {50.0f, 0.0f, 1.0f}, EnemyDirection::Below},
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

// The start view's planes set how many objects it culls in tests/replays/toggles.out; which spheres count as
// outside a plane is measured on drawn pixels in tests/gl.
TEST(FrustumTest, ATurnedCameraCarriesEachPlaneInwardFromItsSide) {
  scene::Frustum f;
  f.setCameraInternals(tanHalfFieldOfView(), ASPECT, 0.1f, 10000.0f);
  f.setCameraPose({10.0f, 0.0f, 0.0f}, {11.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});  // along +x: right is +z
  // A point 100 ahead just past each side is outside that plane only; the planes' normals are unit length.
  const float y = 100.0f * f.tanHalfFov * 1.01f;
  const float z = y * f.aspect;
  const struct { glm::vec3 point; int outsidePlane; } cases[] = {
      {{110, y, 0}, scene::Frustum::Top},    {{110, -y, 0}, scene::Frustum::Bottom},    {{110, 0, -z}, scene::Frustum::Left},
      {{110, 0, z}, scene::Frustum::Right},  {{10.05f, 0, 0}, scene::Frustum::Near},    {{10011, 0, 0}, scene::Frustum::Far},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(f.planes[i].distance(c.point) < 0.0f, i == c.outsidePlane) << "plane " << i;
      EXPECT_NEAR(glm::length(f.planes[i].normal), 1.0f, 1e-6f);
    }
  }
}

glm::vec2 place(const glm::mat4& model, float x, float y) { return glm::vec2(model * glm::vec4(x, y, 0.0f, 1.0f)); }

TEST(OverlayMathTest, ArrowPointsItsWayAndSitsAtTheSameHeightAsAt1024By768) {
  const struct { bool left, above, right, below; glm::vec2 direction; } cases[] = {
      {true, false, false, false, {-1, 0}}, {false, true, false, false, {0, 1}},
      {false, false, true, false, {1, 0}},  {false, false, false, true, {0, -1}},
  };
  for (const auto& c : cases) {
    const glm::mat4 model = directionArrowModel(c.left, c.above, c.right, c.below, 300, 200);
    const glm::vec2 origin = place(model, 0.0f, 0.0f);
    EXPECT_NEAR(glm::distance(origin, glm::vec2(0.0f, -1.0f / 1.7f)), 0.0f, 1e-5f);
    const glm::vec2 tip = glm::normalize(place(model, 0.0f, 0.06f) - origin);
    EXPECT_NEAR(glm::dot(tip, c.direction), 1.0f, 1e-5f) << c.direction.x << ", " << c.direction.y;
  }
  // The crosshair's width uses the integer half: an odd height gives the same as one pixel less.
  EXPECT_EQ(crosshairModel(0, 1024, 769)[0][0], crosshairModel(0, 1024, 768)[0][0]);
}

}  // namespace
}  // namespace voidskirmish::render
