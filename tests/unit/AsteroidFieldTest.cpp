#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/vector_relational.hpp>

#include <algorithm>
#include <cmath>

#include "game/Random.h"
#include "game/collision/Line.h"
#include "game/objects/Asteroid.h"

// The random sequence, the asteroid field it makes, and the ray and sphere tests shots and contacts use.
namespace voidskirmish::game::objects {
namespace {

using namespace collision;

// The field's layout, drawn from the sequence, sets what the start view culls frame by frame in
// tests/replays/toggles.out and every replayed picture. Here a second field from a new sequence is the same, and
// a spin turns each asteroid in place.
TEST(AsteroidFieldTest, ANewSequenceBuildsTheSameFieldAndASpinTurnsEachAsteroidInPlace) {
  Random first;
  const Asteroid field(nullptr, first);
  Random second;
  Asteroid again(nullptr, second);
  EXPECT_TRUE(again.asteroidSpheres == field.asteroidSpheres && again.spinAxes == field.spinAxes);
  EXPECT_EQ(second.state, first.state);
  ASSERT_EQ(again.asteroidMatrices.size(), 100u);

  // About its own axis by its speed in degrees; the first stands for all.
  const glm::mat4 before = again.asteroidMatrices[0];
  again.spin(1.0f);
  EXPECT_EQ(glm::vec3(again.asteroidMatrices[0][3]), glm::vec3(before[3]));
  const glm::vec3 axis = glm::normalize(again.spinAxes[0]);
  const glm::vec3 across = glm::normalize(glm::cross(axis, glm::vec3(0.3f, 0.5f, 0.8f)));
  const glm::mat3 turn = glm::mat3(again.asteroidMatrices[0]) / again.asteroidScales[0];
  EXPECT_NEAR(glm::distance(turn * axis, axis), 0.0f, 1e-4f);
  EXPECT_NEAR(glm::degrees(std::acos(glm::dot(turn * across, across))), again.spinSpeeds[0], 2e-2f);
}

const Line ALONG_MINUS_Z{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f)};

TEST(RayTest, SphereIsEnteredAtItsNearSideOrMissedWithNaNAndSpheresOverlapOnlyWhenStrictlyCloser) {
  const struct { glm::vec4 sphere; glm::vec3 entry; } cases[] = {
      {{0.0f, 0.0f, -10.0f, 2.0f}, {0.0f, 0.0f, -8.0f}},
      {{0.0f, 2.0f, -10.0f, 2.0f}, {0.0f, 0.0f, -10.0f}},  // grazing: the tangent point
      {{0.0f, 0.0f, 10.0f, 2.0f}, glm::vec3(NAN)},         // behind
      {{0.0f, 0.0f, -10.0f, 20.0f}, glm::vec3(NAN)},       // containing the start
      {{0.0f, 3.0f, -10.0f, 2.0f}, glm::vec3(NAN)},        // beside the ray
  };
  for (const auto& c : cases) {
    const glm::vec3 hit = intersectSphere(c.sphere, ALONG_MINUS_Z);
    EXPECT_EQ(isHit(hit), !std::isnan(c.entry.x)) << c.sphere.y << ", " << c.sphere.z;
    EXPECT_TRUE(std::isnan(c.entry.x) ? glm::all(glm::isnan(hit)) : hit == c.entry) << c.sphere.y << ", " << c.sphere.z;
  }

  EXPECT_TRUE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(11.9f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(12.0f, 0.0f, 0.0f, 6.0f)));
}

TEST(NearestHitTest, NearestRealHitWinsWhateverTheIndexAndNoHitIsInfinite) {
  Random random;
  Asteroid field(nullptr, random);
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
}

}  // namespace
}  // namespace voidskirmish::game::objects
