#pragma once

#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <vector>

#include "game/Random.h"

namespace voidskirmish::game {

constexpr int MAX_PARTICLES = 100000;

struct Particle {
  glm::vec3 position{0.0f};
  glm::vec3 velocity{0.0f};  // added to the position once per update (a per-frame step)
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  float size = 0.0f;
  float life = 0.0f;  // seconds left; the slot is free at 0 or less
};

// The explosions' particles: a fixed pool and the arrays packed for drawing, no allocation per particle or per
// frame. Owned by the match; the drawing reads what the last update packed.
class ParticlePool {
 public:
  // What a saved match keeps of the pool: its live particles by slot, the search cursor and what was packed.
  struct Saved {
    std::vector<std::uint32_t> slots;
    std::vector<Particle> live;
    int lastUsedParticle = 0;
    int particleCount = 0;
    std::vector<float> positionSize;
    std::vector<std::uint8_t> colours;
    bool operator==(const Saved& other) const;
  };

  // A free slot, searching on from the last one found; with none free, steps back from there and overwrites.
  int findFreeParticle();
  // kind 0: fire colours, kind 1: grey debris; four numbers of `random` per particle.
  void spawnParticles(int count, int kind, glm::vec3 position, Random& random);
  // Moves, slows and fades the live particles and packs them for drawing.
  void updateParticles(float deltaTime);
  // Empties the pool.
  void clearParticles();

  void save(Saved& saved) const;
  void restore(const Saved& saved);

  std::array<Particle, MAX_PARTICLES> particlePool{};
  int lastUsedParticle = 0;
  int particleCount = 0;
  std::array<float, MAX_PARTICLES * 4> particlePositionSizeData{};  // centre xyz, size
  std::array<std::uint8_t, MAX_PARTICLES * 4> particleColorData{};  // r, g, b, a
};

}  // namespace voidskirmish::game
