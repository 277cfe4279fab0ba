#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "game/collision/Line.h"
#include "game/objects/Asteroid.h"

namespace voidskirmish::game::collision {
namespace {

const Line ALONG_MINUS_Z{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f)};

void expectNoHit(glm::vec3 point) {
  EXPECT_TRUE(std::isnan(point.x) && std::isnan(point.y) && std::isnan(point.z));
  EXPECT_FALSE(isHit(point));
}

TEST(RayTest, SphereAheadIsEnteredAtItsNearSide) {
  EXPECT_EQ(intersectSphere(glm::vec4(0.0f, 0.0f, -10.0f, 2.0f), ALONG_MINUS_Z), glm::vec3(0.0f, 0.0f, -8.0f));
  // The end point only gives the direction: a far end point finds the same entry.
  const Line longer{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -500.0f)};
  EXPECT_EQ(intersectSphere(glm::vec4(0.0f, 0.0f, -10.0f, 2.0f), longer), glm::vec3(0.0f, 0.0f, -8.0f));
}

TEST(RayTest, SphereBehindContainingOrBesideTheRayIsNoHit) {
  expectNoHit(intersectSphere(glm::vec4(0.0f, 0.0f, 10.0f, 2.0f), ALONG_MINUS_Z));
  expectNoHit(intersectSphere(glm::vec4(0.0f, 0.0f, -10.0f, 20.0f), ALONG_MINUS_Z));
  expectNoHit(intersectSphere(glm::vec4(0.0f, 3.0f, -10.0f, 2.0f), ALONG_MINUS_Z));
}

TEST(RayTest, GrazingRayTouchesAtTheTangentPoint) {
  const glm::vec3 touch = intersectSphere(glm::vec4(0.0f, 2.0f, -10.0f, 2.0f), ALONG_MINUS_Z);
  EXPECT_TRUE(isHit(touch));
  EXPECT_EQ(touch, glm::vec3(0.0f, 0.0f, -10.0f));
}

TEST(RayTest, SpheresOverlapOnlyWhenStrictlyCloserThanTheirRadii) {
  EXPECT_TRUE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(11.9f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(12.0f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(isHit(glm::vec3(INFINITY)));
}

class NearestHitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { field = std::make_unique<objects::Asteroid>(nullptr); }
  static void TearDownTestSuite() { field.reset(); }

  // Only the given spheres lie anywhere near the ray.
  void layOut(std::initializer_list<glm::vec4> spheres) {
    for (glm::vec4& sphere : field->asteroidSpheres) {
      sphere = glm::vec4(5000.0f, 5000.0f, 5000.0f, 1.0f);
    }
    std::size_t i = 0;
    for (const glm::vec4& sphere : spheres) {
      field->asteroidSpheres[i++] = sphere;
    }
  }

  static std::unique_ptr<objects::Asteroid> field;
};

std::unique_ptr<objects::Asteroid> NearestHitTest::field;

TEST_F(NearestHitTest, NearerHitWinsEvenFromAHigherIndex) {
  layOut({glm::vec4(0.0f, 0.0f, -52.0f, 2.0f), glm::vec4(0.0f, 0.0f, -32.0f, 2.0f)});
  EXPECT_EQ(field->nearestHit(ALONG_MINUS_Z), glm::vec3(0.0f, 0.0f, -30.0f));
}

TEST_F(NearestHitTest, SpheresThatGiveNoHitNeverShadowARealOneAndNoHitIsInfinite) {
  // Index 0 contains the start, index 1 lies behind it: neither stops the shot at index 2.
  layOut({glm::vec4(0.0f, 0.0f, 0.0f, 5.0f), glm::vec4(0.0f, 0.0f, 20.0f, 2.0f),
          glm::vec4(0.0f, 0.0f, -40.0f, 2.0f)});
  EXPECT_EQ(field->nearestHit(ALONG_MINUS_Z), glm::vec3(0.0f, 0.0f, -38.0f));
  layOut({});
  const glm::vec3 none = field->nearestHit(ALONG_MINUS_Z);
  EXPECT_TRUE(std::isinf(none.x) && none.x > 0.0f && std::isinf(none.y) && std::isinf(none.z));
  EXPECT_FALSE(isHit(none));
}

TEST_F(NearestHitTest, ScanStopsAtTheEndOfTheSpheresWhateverTheCount) {
  layOut({});
  field->asteroidSpheres.resize(3);
  field->asteroidSpheres[2] = glm::vec4(0.0f, 0.0f, -10.0f, 2.0f);
  EXPECT_EQ(field->sphereCount(), 3u);
  EXPECT_EQ(field->nearestHit(ALONG_MINUS_Z), glm::vec3(0.0f, 0.0f, -8.0f));
  field->asteroidSpheres.resize(field->asteroidCount);
}

}  // namespace
}  // namespace voidskirmish::game::collision
