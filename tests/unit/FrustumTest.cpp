#include <gtest/gtest.h>

#include <cmath>

#include "render/EnemyDirection.h"
#include "render/Frustum.h"

namespace voidskirmish::render {
namespace {

// A half of a 1024 × 768 window: aspect 1024 / 384.
Frustum frustumAt(glm::vec3 position, glm::vec3 lookAt, glm::vec3 up = {0.0f, 1.0f, 0.0f}) {
  Frustum f;
  f.setCameraInternals(tanHalfFieldOfView(), 1024.0f / 384.0f, 0.1f, 10000.0f);
  f.setCameraPose(position, lookAt, up);
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
  EXPECT_GT(f.nearTopRight.z, 0.0f);
  EXPECT_GT(f.nearTopRight.y, 0.0f);
  EXPECT_LT(f.farBottomLeft.z, 0.0f);
  EXPECT_NEAR(f.farBottomLeft.y, -10000.0f * f.tanHalfFov, 0.01f);
  EXPECT_EQ(f.testSphere({30.0f, 0.0f, 0.0f}, 1.0f), Frustum::Inside);
  EXPECT_EQ(f.testSphere({0.0f, 0.0f, 0.0f}, 1.0f), Frustum::Outside);
  EXPECT_EQ(f.testSphere({20.0f, 0.0f, 40.0f}, 1.0f), Frustum::Outside);  // off to the right
  EXPECT_EQ(f.testSphere({20.0f, 0.0f, 10.0f}, 1.0f), Frustum::Inside);
}

}  // namespace
}  // namespace voidskirmish::render
