#include "game/ParticlePool.h"

#include <algorithm>

#include "game/SameBits.h"

namespace voidskirmish::game {

namespace {

constexpr float SPAWN_LIFE = 1.5f;
constexpr float SPAWN_SIZE = 0.5f;
constexpr float MAX_SPREAD = 3.0f;
constexpr float DRAG_PER_SECOND = 5.0f;

// q near 1 is a slow particle. Fire: the slowest burn white, the rest run from red (fast) to yellow (slow).
// Debris: greys from 50 to 120. Other kinds keep the colour the slot had.
void setColour(Particle& particle, int kind, float q) {
  if (kind == 0) {
    const bool white = q > 0.9f;
    particle.r = 255;
    particle.g = white ? 255 : static_cast<std::uint8_t>(static_cast<int>(q * 255.0f));
    particle.b = white ? 255 : 0;
  } else if (kind == 1) {
    const auto grey = static_cast<std::uint8_t>(static_cast<int>(q * 70.0f + 50.0f));
    particle.r = particle.g = particle.b = grey;
  }
}

}  // namespace

int ParticlePool::findFreeParticle() {
  for (int i = lastUsedParticle; i < MAX_PARTICLES; ++i) {
    if (particlePool[i].life <= 0.0f) {
      lastUsedParticle = i;
      return i;
    }
  }
  for (int i = 0; i < lastUsedParticle; ++i) {
    if (particlePool[i].life <= 0.0f) {
      lastUsedParticle = i;
      return i;
    }
  }
  // All taken: overwrite live particles, walking back from the cursor so a big burst cycles the whole pool.
  lastUsedParticle = lastUsedParticle - 1 >= 0 ? lastUsedParticle - 1 : MAX_PARTICLES - 1;
  return lastUsedParticle;
}

void ParticlePool::spawnParticles(int count, int kind, glm::vec3 position, Random& random) {
  for (int n = 0; n < count; ++n) {
    Particle& particle = particlePool[findFreeParticle()];
    const float r1 = random.unit();
    const float r2 = random.unit();
    const float r3 = random.unit();
    const float r4 = random.unit();

    // Each component uniform within ±spread: the burst fills a cube.
    const float spread = r1 * MAX_SPREAD;
    particle.velocity =
        glm::vec3((2.0f * r4 - 1.0f) * spread, (2.0f * r3 - 1.0f) * spread, (2.0f * r2 - 1.0f) * spread);
    setColour(particle, kind, 1.0f - r1);
    particle.position = position;
    particle.a = 255;
    particle.life = SPAWN_LIFE;
    particle.size = SPAWN_SIZE;
  }
}

void ParticlePool::updateParticles(float deltaTime) {
  // Not clamped: a frame over 0.2 s turns the factor negative and throws the particles back, as the game's
  // drag rule has it.
  const float drag = 1.0f - DRAG_PER_SECOND * deltaTime;
  particleCount = 0;
  for (Particle& particle : particlePool) {
    if (particle.life <= 0.0f) {
      continue;
    }
    particle.life -= deltaTime;
    if (particle.life <= 0.0f) {
      continue;
    }
    particle.velocity *= drag;
    particle.position += particle.velocity;
    // Opaque until the last second, then fading out linearly.
    particle.a = static_cast<std::uint8_t>(particle.life <= 1.0f ? static_cast<int>(255.0f * particle.life) : 255);

    float* positionSize = &particlePositionSizeData[static_cast<std::size_t>(particleCount) * 4];
    positionSize[0] = particle.position.x;
    positionSize[1] = particle.position.y;
    positionSize[2] = particle.position.z;
    positionSize[3] = particle.size;
    std::uint8_t* colour = &particleColorData[static_cast<std::size_t>(particleCount) * 4];
    colour[0] = particle.r;
    colour[1] = particle.g;
    colour[2] = particle.b;
    colour[3] = particle.a;
    ++particleCount;
  }
}

void ParticlePool::clearParticles() {
  particlePool.fill(Particle{});
  lastUsedParticle = 0;
  particleCount = 0;
}

// Only live slots are kept: a free slot's other fields are all overwritten before it is used again.
void ParticlePool::save(Saved& saved) const {
  saved.slots.clear();
  saved.live.clear();
  for (std::uint32_t slot = 0; slot < particlePool.size(); ++slot) {
    if (particlePool[slot].life > 0.0f) {
      saved.slots.push_back(slot);
      saved.live.push_back(particlePool[slot]);
    }
  }
  saved.lastUsedParticle = lastUsedParticle;
  saved.particleCount = particleCount;
  const auto count = static_cast<std::size_t>(particleCount);
  saved.positionSize.assign(particlePositionSizeData.begin(), particlePositionSizeData.begin() + 4 * count);
  saved.colours.assign(particleColorData.begin(), particleColorData.begin() + 4 * count);
}

void ParticlePool::restore(const Saved& saved) {
  for (Particle& particle : particlePool) {
    particle.life = 0.0f;
  }
  for (std::size_t i = 0; i < saved.slots.size(); ++i) {
    particlePool[saved.slots[i]] = saved.live[i];
  }
  lastUsedParticle = saved.lastUsedParticle;
  particleCount = saved.particleCount;
  std::copy(saved.positionSize.begin(), saved.positionSize.end(), particlePositionSizeData.begin());
  std::copy(saved.colours.begin(), saved.colours.end(), particleColorData.begin());
}

bool ParticlePool::Saved::operator==(const Saved& other) const {
  return slots == other.slots && sameBits(live, other.live) && lastUsedParticle == other.lastUsedParticle &&
         particleCount == other.particleCount && sameBits(positionSize, other.positionSize) &&
         colours == other.colours;
}

}  // namespace voidskirmish::game
