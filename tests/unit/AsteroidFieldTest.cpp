#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/vector_relational.hpp>

#include <algorithm>
#include <array>
#include <cmath>

#include "game/Random.h"
#include "game/collision/Line.h"
#include "game/objects/Asteroid.h"

// The random sequence, the asteroid field it makes, and the ray and sphere tests shots and contacts use.
namespace voidskirmish::game::objects {
namespace {

using namespace collision;

TEST(RandomSequenceTest, StartsOverWithTheSameNumbersInRange) {
  restartRandomSequence();
  EXPECT_EQ((std::array<int, 3>{randomNumber(), randomNumber(), randomNumber()}), (std::array{16838, 5758, 10113}));
  int low = RANDOM_MAX, high = 0;
  for (int i = 0; i < 100000; ++i) {
    const int r = randomNumber();
    low = std::min(low, r);
    high = std::max(high, r);
  }
  EXPECT_EQ(glm::ivec2(low, high), glm::ivec2(0, RANDOM_MAX));
  restartRandomSequence();
  EXPECT_EQ(randomNumber(), 16838);
}

// One field, built from a fresh sequence, checked whole, rebuilt and spun.
TEST(AsteroidFieldTest, HundredAsteroidsInTheirRangesRebuiltAlikeAndSpunAboutTheirOwnCentres) {
  restartRandomSequence();
  const Asteroid field(nullptr);
  // The sign is drawn before the distance; the axis takes the third number for x. The sphere is 37 times the
  // model's radius of 1.2 (0.6 of its extent of 2).
  EXPECT_EQ(field.asteroidSpheres[0], glm::vec4(140.58046f, -427.625366f, 137.382126f, 44.4f));
  for (const auto size : {field.asteroidPositions.size(), field.asteroidScales.size(), field.spinAxes.size(),
                          field.spinSpeeds.size(), field.asteroidSpheres.size(), asteroidMatrices.size()}) {
    ASSERT_EQ(size, 100u);
  }
  for (std::size_t i = 0; i < 100; ++i) {
    const float s = field.asteroidScales[i];
    EXPECT_TRUE(s >= 1.0f && s <= 100.0f && s == std::floor(s)) << s;
    EXPECT_TRUE(field.spinSpeeds[i] >= 1.0f && field.spinSpeeds[i] <= 11.0f) << field.spinSpeeds[i];
    EXPECT_TRUE(glm::all(glm::lessThanEqual(glm::abs(field.asteroidPositions[i]), glm::vec3(800.0f))));
    EXPECT_TRUE(glm::all(glm::lessThanEqual(glm::abs(field.spinAxes[i]), glm::vec3(0.5f))));
    EXPECT_EQ(asteroidMatrices[i], glm::translate(glm::mat4(1.0f), field.asteroidPositions[i]) * glm::mat4(glm::mat3(s)));
    EXPECT_EQ(field.asteroidSpheres[i], glm::vec4(field.asteroidPositions[i], 1.2f * s));
  }

  restartRandomSequence();
  Asteroid again(nullptr);
  EXPECT_EQ(again.asteroidPositions, field.asteroidPositions);
  EXPECT_EQ(again.spinAxes, field.spinAxes);
  EXPECT_EQ(again.asteroidScales, field.asteroidScales);
  EXPECT_EQ(again.spinSpeeds, field.spinSpeeds);
  ASSERT_EQ(asteroidMatrices.size(), 100u);  // replaced, not appended to

  const std::vector<glm::mat4> before = asteroidMatrices;
  again.spin(0.0f);
  EXPECT_EQ(asteroidMatrices, before);
  again.spin(1.0f);
  for (std::size_t i = 0; i < 100; ++i) {
    EXPECT_EQ(glm::vec3(asteroidMatrices[i][3]), glm::vec3(before[i][3]));
    // The axis stays put; any other direction turns by the spin speed in degrees.
    const glm::vec3 axis = glm::normalize(again.spinAxes[i]);
    const glm::vec3 across = glm::normalize(glm::cross(axis, glm::vec3(0.3f, 0.5f, 0.8f)));
    const glm::mat3 turn = glm::mat3(asteroidMatrices[i]) / again.asteroidScales[i];
    EXPECT_NEAR(glm::distance(turn * axis, axis), 0.0f, 1e-4f);
    EXPECT_NEAR(glm::degrees(std::acos(glm::clamp(glm::dot(turn * across, across), -1.0f, 1.0f))),
                again.spinSpeeds[i], 2e-2f);
  }
}

const collision::Line ALONG_MINUS_Z{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f)};

TEST(RayTest, SphereIsEnteredAtItsNearSideOrMissedWithNaNAndSpheresOverlapOnlyWhenStrictlyCloser) {
  const glm::vec3 noHit(NAN);
  const struct { glm::vec4 sphere; glm::vec3 entry; } cases[] = {
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
  const collision::Line longer{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -500.0f)};
  EXPECT_EQ(intersectSphere(glm::vec4(0.0f, 0.0f, -10.0f, 2.0f), longer), glm::vec3(0.0f, 0.0f, -8.0f));

  EXPECT_TRUE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(11.9f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(spheresOverlap(glm::vec4(0.0f, 0.0f, 0.0f, 6.0f), glm::vec4(12.0f, 0.0f, 0.0f, 6.0f)));
  EXPECT_FALSE(isHit(glm::vec3(INFINITY)));
}

TEST(NearestHitTest, NearestRealHitWinsWhateverTheIndexAndNoHitIsInfinite) {
  Asteroid field(nullptr);
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
}  // namespace voidskirmish::game::objects
