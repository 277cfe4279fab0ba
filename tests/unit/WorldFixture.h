#pragma once

#include <gtest/gtest.h>

#include <glm/vector_relational.hpp>

#include <memory>

#include "game/Match.h"
#include "game/Random.h"
#include "game/objects/LaserBeam.h"
#include "render/ParticlePool.h"
#include "tests/support/Printed.h"

namespace voidskirmish::testing {

// Live particles; with a kind, only those at exactly the point in its colours: fire runs from yellow to red,
// its slowest white; debris is mid grey.
inline int particles(int kind = -1, glm::vec3 at = glm::vec3(0.0f)) {
  int count = 0;
  for (const render::Particle& p : render::particlePool) {
    const bool slow = glm::all(glm::lessThanEqual(glm::abs(p.velocity), glm::vec3(0.3f)));
    const bool fire = p.r == 255 && (p.b == 0 ? p.g <= 229 : p.g == 255 && p.b == 255 && slow);
    const bool colours = kind == 0 ? fire : p.r == p.g && p.g == p.b && p.r >= 50 && p.r <= 120;
    count += p.life > 0.0f && (kind < 0 || (p.position == at && colours));
  }
  return count;
}

// A whole match without a window, new for each test; the asteroid field is pushed far away so each test places
// the asteroids it needs. Particles and beams start empty.
class MatchTest : public ::testing::Test {
 protected:
  MatchTest() {
    game::restartRandomSequence();
    render::clearParticles();
    game::objects::laserBeams.clear();
    match = std::make_unique<game::Match>(game::Match::Programs{});
    for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
      sphere = glm::vec4(100000.0f, 100000.0f, 100000.0f, 1.0f);
    }
  }

  game::objects::Spaceship& ship1() { return *match->ship1; }
  game::objects::Spaceship& ship2() { return *match->ship2; }
  void placeAsteroid(std::size_t index, glm::vec3 centre, float radius) {
    match->asteroids->asteroidSpheres[index] = glm::vec4(centre, radius);
  }

  game::RenderSettings settings;
  std::unique_ptr<game::Match> match;
};

}  // namespace voidskirmish::testing
