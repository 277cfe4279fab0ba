#pragma once

#include <glm/vec3.hpp>

#include <array>
#include <cstdint>

namespace voidskirmish::render {

constexpr int MAX_PARTICLES = 100000;

struct Particle {
  glm::vec3 position{0.0f};
  glm::vec3 velocity{0.0f};  // added to the position once per update (a per-frame step)
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  float size = 0.0f;
  float life = 0.0f;  // seconds left; the slot is free at 0 or less
};

// The fixed pool and the arrays packed for drawing: static storage, no allocation per particle or per frame.
extern std::array<Particle, MAX_PARTICLES> particlePool;
extern int lastUsedParticle;
extern int particleCount;
extern std::array<float, MAX_PARTICLES * 4> particlePositionSizeData;        // centre xyz, size
extern std::array<std::uint8_t, MAX_PARTICLES * 4> particleColorData;        // r, g, b, a

// A free slot, searching on from the last one found; with none free, steps back from there and overwrites.
int findFreeParticle();
// kind 0: fire colours, kind 1: grey debris.
void spawnParticles(int count, int kind, glm::vec3 position);
// Moves, slows and fades the live particles and packs them for drawing.
void updateParticles(float deltaTime);
// Empties the pool, as at program start.
void clearParticles();

}  // namespace voidskirmish::render
