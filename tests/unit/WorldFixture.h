#pragma once

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <memory>

#include "game/Match.h"
#include "game/Random.h"
#include "game/objects/LaserBeam.h"
#include "render/ParticlePool.h"

namespace voidskirmish::testing {

// Live particles thrown at exactly this point with the colours of one burst kind (0 fire, 1 grey debris).
inline int particlesAt(glm::vec3 position, int kind) {
  int count = 0;
  for (const render::Particle& particle : render::particlePool) {
    const bool fire = particle.r == 255;
    const bool debris = particle.r == particle.g && particle.g == particle.b && particle.r <= 120;
    if (particle.life > 0.0f && particle.position == position && (kind == 0 ? fire : debris)) {
      ++count;
    }
  }
  return count;
}

inline int liveParticles() {
  int count = 0;
  for (const render::Particle& particle : render::particlePool) {
    count += particle.life > 0.0f ? 1 : 0;
  }
  return count;
}

// A ship's pose as the match sets it: translated, then scaled by 2, then turned about Y.
inline glm::mat4 shipPose(glm::vec3 position, float yawRadians = 0.0f) {
  const glm::mat4 placed = glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(2.0f));
  return glm::rotate(placed, yawRadians, glm::vec3(0.0f, 1.0f, 0.0f));
}

// A whole match without a window. The asteroid field is pushed far out of the way, so each test places exactly
// the asteroids it needs; particles and beams start empty.
class MatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game::restartRandomSequence();
    render::clearParticles();
    game::objects::laserBeams.clear();
    match = std::make_unique<game::Match>(game::Match::Programs{});
    for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
      sphere = glm::vec4(100000.0f, 100000.0f, 100000.0f, 1.0f);
    }
  }
  void TearDown() override { game::objects::laserBeams.clear(); }

  game::objects::Spaceship& ship1() { return *match->ship1; }
  game::objects::Spaceship& ship2() { return *match->ship2; }
  void placeAsteroid(std::size_t index, glm::vec3 centre, float radius) {
    match->asteroids->asteroidSpheres[index] = glm::vec4(centre, radius);
  }

  game::RenderSettings settings;
  std::unique_ptr<game::Match> match;
};

}  // namespace voidskirmish::testing
