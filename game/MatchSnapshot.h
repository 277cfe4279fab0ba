#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <glm/mat4x4.hpp>

#include "game/ParticlePool.h"
#include "game/Random.h"
#include "game/Rounds.h"
#include "game/objects/LaserBeam.h"
#include "game/objects/Spaceship.h"

namespace voidskirmish::game {

// Everything that decides a match's future, as one value: Match::save fills it, Match::restore puts the match
// back to exactly that point. Models, programs and GL names are not in it; they never change in play.
struct MatchSnapshot {
  std::array<objects::Spaceship::Saved, 2> ships{};
  std::vector<glm::mat4> asteroidMatrices;
  std::vector<objects::LaserBeam::Saved> beams;
  ParticlePool::Saved particles;
  Random random;
  Random computerRandom;
  Rounds rounds;
  bool paused = false;
  std::array<bool, 2> outsideBoundary{};
  std::array<float, 2> warningBlend{};
  float warningBlendDirection = 1.0f;
  long frameNumber = 0;

  // The name of the first part that differs from `other` bit for bit, or nullptr when none does.
  const char* firstDifference(const MatchSnapshot& other) const;
  // The bytes the snapshot's contents take.
  std::size_t size() const;
};

}  // namespace voidskirmish::game
