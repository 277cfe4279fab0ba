#pragma once

#include <gtest/gtest.h>

#include <glm/vector_relational.hpp>

#include <memory>

#include "game/Match.h"
#include "tests/support/Printed.h"

namespace voidskirmish::testing {

// Live particles; with a kind, only those at exactly the point in its colours: fire runs from yellow to red,
// its slowest white; debris is mid grey.
inline int particles(const game::Match& match, int kind = -1, glm::vec3 at = glm::vec3(0.0f)) {
  int count = 0;
  for (const game::Particle& p : match.particles->particlePool) {
    const bool slow = glm::all(glm::lessThanEqual(glm::abs(p.velocity), glm::vec3(0.3f)));
    const bool fire = p.r == 255 && (p.b == 0 ? p.g <= 229 : p.g == 255 && p.b == 255 && slow);
    const bool colours = kind == 0 ? fire : p.r == p.g && p.g == p.b && p.r >= 50 && p.r <= 120;
    count += p.life > 0.0f && (kind < 0 || (p.position == at && colours));
  }
  return count;
}

// A whole match without a window, new for each test; the asteroid field is pushed far away so each test places
// the asteroids it needs.
class MatchTest : public ::testing::Test {
 protected:
  MatchTest() {
    match = std::make_unique<game::Match>(game::Match::Programs{});
    for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
      sphere = glm::vec4(100000.0f, 100000.0f, 100000.0f, 1.0f);
    }
  }

  int particles(int kind = -1, glm::vec3 at = glm::vec3(0.0f)) const { return testing::particles(*match, kind, at); }
  game::objects::Spaceship& ship1() { return *match->ship1; }
  game::objects::Spaceship& ship2() { return *match->ship2; }
  void placeAsteroid(std::size_t index, glm::vec3 centre, float radius) {
    match->asteroids->asteroidSpheres[index] = glm::vec4(centre, radius);
  }

  scene::RenderSettings settings;
  std::unique_ptr<game::Match> match;
};

}  // namespace voidskirmish::testing
