#include <gtest/gtest.h>

#include <glm/vector_relational.hpp>

#include <algorithm>
#include <cmath>

#include "game/collision/Line.h"
#include "game/objects/Asteroid.h"

namespace voidskirmish::game::collision {
namespace {

const Line ALONG_MINUS_Z{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f)};

TEST(RayTest, SphereIsEnteredAtItsNearSideOrMissedWithNaNAndSpheresOverlapOnlyWhenStrictlyCloser) {
  const glm::vec3 noHit(NAN);
  const struct {
    glm::vec4 sphere;
    glm::vec3 entry;
  } cases[] = {
      {{0.0f, 0.0f, -10.0f, 2.0f}, {0.0f, 0.0f, -8.0f}},
      {{0.0f, 2.0f, -10.0f, 2.0f}, {0.0f, 0.0f, -10.0f}},  // grazing: the tangent point
      {{0.0f, 0.0f, 10.0f, 2.0f}, noHit},                  // behind
      {{0.0f, 0.0f, -10.0f, 20.0f}, noHit},                // containing the start
      {{0.0f, 3.0f, -10.0f, 2.0f}, noHit},                 // beside the ray
  };
  for (const auto& c : cases) {
    const glm::vec3 hit = intersectSphere(c.sphere, ALONG_MINUS_Z);
    EXPECT_EQ(isHit(hit), !std::isnan(c.entry.x)) << c.sphere.y << ", " << c.sphere.z;
    EXPECT_TRUE(std::isnan(c.entry.x) ? glm::all(glm::isnan(hit)) : hit == c.entry) << c.sphere.y << ", " << c.sphere.z;
  }
  // The end point only gives the direction.
  const Line longer{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -500.0f)};
  EXPECT_EQ(intersectSphere(glm::vec4(0.0f, 0.0f, -10.0f, 2.0f), longer), glm::vec3(0.0f, 0.0f, -8.0f));

  EXPECT_TRUE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(11.9f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(12.0f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(isHit(glm::vec3(INFINITY)));
}

TEST(NearestHitTest, NearestRealHitWinsWhateverTheIndexAndNoHitIsInfinite) {
  objects::Asteroid field(nullptr);
  const auto nearest = [&](std::initializer_list<glm::vec4> spheres) {
    std::fill(field.asteroidSpheres.begin(), field.asteroidSpheres.end(), glm::vec4(5000.0f, 5000.0f, 5000.0f, 1.0f));
    std::copy(spheres.begin(), spheres.end(), field.asteroidSpheres.begin());
    return field.nearestHit(ALONG_MINUS_Z);
  };
  EXPECT_EQ(nearest({{0.0f, 0.0f, -52.0f, 2.0f}, {0.0f, 0.0f, -32.0f, 2.0f}}), glm::vec3(0.0f, 0.0f, -30.0f));
  // A sphere containing the start and one behind it do not shadow the real hit.
  EXPECT_EQ(nearest({{0.0f, 0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 20.0f, 2.0f}, {0.0f, 0.0f, -40.0f, 2.0f}}),
            glm::vec3(0.0f, 0.0f, -38.0f));
  EXPECT_EQ(nearest({}), glm::vec3(INFINITY));

  // The scan stops at the end of the spheres, whatever the count says.
  field.asteroidSpheres.resize(3);
  field.asteroidSpheres[2] = glm::vec4(0.0f, 0.0f, -10.0f, 2.0f);
  EXPECT_EQ(field.sphereCount(), 3u);
  EXPECT_EQ(field.nearestHit(ALONG_MINUS_Z), glm::vec3(0.0f, 0.0f, -8.0f));
}

}  // namespace
}  // namespace voidskirmish::game::collision
