#pragma once

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <string>

#include "game/Match.h"
#include "game/Random.h"
#include "game/objects/LaserBeam.h"
#include "render/Frustum.h"
#include "render/ParticlePool.h"
#include "tests/support/Printed.h"

namespace voidskirmish::testing {

const std::string DIED = "Player died => Game is over!\nPlease Restart with ENTER or exit the game with ESC\n";

inline std::string gameOver(const char* half) {
  const std::string rule(65, '-');
  return "\n" + rule + "\nPlayer of " + half +
         " window died => Game is over!\nPlease Restart with ENTER or exit the game with ESC\n" + rule + "\n";
}

// Live particles at exactly this point in the colours of one burst kind (0 fire, 1 grey debris).
inline int particlesAt(glm::vec3 position, int kind) {
  int count = 0;
  for (const render::Particle& p : render::particlePool) {
    const bool fire = p.r == 255;
    const bool debris = p.r == p.g && p.g == p.b && p.r <= 120;
    count += p.life > 0.0f && p.position == position && (kind == 0 ? fire : debris);
  }
  return count;
}

inline int liveParticles() {
  int count = 0;
  for (const render::Particle& p : render::particlePool) {
    count += p.life > 0.0f;
  }
  return count;
}

// A ship's pose as the match sets it: translated, scaled by 2, then turned about Y.
inline glm::mat4 shipPose(glm::vec3 position, float yawRadians = 0.0f) {
  const glm::mat4 placed = glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(2.0f));
  return glm::rotate(placed, yawRadians, glm::vec3(0.0f, 1.0f, 0.0f));
}

// A whole match without a window, new for each test; the asteroid field is pushed far away so each test places
// the asteroids it needs. Particles and beams start empty.
class MatchTest : public ::testing::Test {
 protected:
  MatchTest() : match(freshMatch()) {
    for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
      sphere = glm::vec4(100000.0f, 100000.0f, 100000.0f, 1.0f);
    }
  }
  ~MatchTest() override { game::objects::laserBeams.clear(); }

  static std::unique_ptr<game::Match> freshMatch() {
    game::restartRandomSequence();
    render::clearParticles();
    game::objects::laserBeams.clear();
    const unsigned int counted = render::totalObjectCount;
    auto made = std::make_unique<game::Match>(game::Match::Programs{});
    EXPECT_EQ(render::totalObjectCount - counted, 102u) << "two ships and 100 asteroids for the culling line";
    return made;
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
