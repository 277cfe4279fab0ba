#include <gtest/gtest.h>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <memory>

#include "game/ParticlePool.h"

// Where bursts go in the pool and how particles move and die. Each burst's size, place and colours in play are
// counted by the match's tests (WorldFixture.h); the fade and the drawing of what is packed, in tests/gl.
namespace voidskirmish::game {
namespace {

class ParticlePoolTest : public ::testing::Test {
 protected:
  void markLive(int from, int to) {
    for (int i = from; i < to; ++i) {
      pool.particlePool[i].life = 1.0f;
      pool.particlePool[i].r = 7;  // tells an old particle from a respawned one
    }
  }

  std::unique_ptr<ParticlePool> owned = std::make_unique<ParticlePool>();
  ParticlePool& pool = *owned;
  Random random;
};

TEST_F(ParticlePoolTest, FreeSlotSearchWrapsAFullPoolIsOverwrittenBackwardsAndABigBurstStaysInBounds) {
  pool.clearParticles();
  pool.lastUsedParticle = 50;
  markLive(50, 51);
  EXPECT_EQ(pool.findFreeParticle(), 51);  // not slot 0, though it is free
  markLive(1, MAX_PARTICLES);         // only slot 0 is left, behind the cursor
  EXPECT_EQ(pool.findFreeParticle(), 0);

  markLive(0, MAX_PARTICLES);
  pool.lastUsedParticle = 2;
  pool.spawnParticles(4, 1, glm::vec3(0.0f), random);
  for (int slot : {1, 0, MAX_PARTICLES - 1, MAX_PARTICLES - 2}) {
    EXPECT_FLOAT_EQ(pool.particlePool[slot].life, 1.5f) << slot;
  }
  EXPECT_EQ(glm::ivec2(pool.particlePool[2].r, pool.particlePool[MAX_PARTICLES - 3].r), glm::ivec2(7));
  EXPECT_EQ(pool.lastUsedParticle, MAX_PARTICLES - 2);

  pool.clearParticles();
  pool.spawnParticles(MAX_PARTICLES + 5, 0, glm::vec3(1.0f, 2.0f, 3.0f), random);
  pool.updateParticles(0.01f);
  EXPECT_EQ(pool.particleCount, MAX_PARTICLES);
  pool.clearParticles();
}

TEST_F(ParticlePoolTest, UpdatePacksOnlyTheLivingALongFrameReversesAndTheLastStepEndsThem) {
  pool.clearParticles();
  pool.spawnParticles(3, 1, glm::vec3(0.0f), random);
  pool.particlePool[0].velocity = glm::vec3(1.0f, -2.0f, 0.5f);
  pool.particlePool[1].life = 0.0f;
  pool.particlePool[2].position = glm::vec3(9.0f);

  pool.updateParticles(0.125f);  // binary fractions of a second, so the last update lands on 0 itself
  EXPECT_FLOAT_EQ(pool.particlePool[0].velocity.x, 0.375f);  // drag 5 per second leaves 37.5 % of the step
  EXPECT_FLOAT_EQ(pool.particlePool[0].position.y, -0.75f);
  EXPECT_EQ(pool.particleCount, 2);
  EXPECT_EQ(pool.particlePositionSizeData[4], pool.particlePool[2].position.x);  // slot 2 packed second
  pool.updateParticles(0.375f);  // a frame over 0.2 s: the factor 1 - 5 t is -0.875 and throws the particle back
  EXPECT_EQ(glm::vec4(pool.particlePool[0].velocity, pool.particlePool[0].position.y),
            glm::vec4(-0.328125f, 0.65625f, -0.1640625f, -0.09375f));
  pool.updateParticles(1.0f);  // exactly used up
  EXPECT_EQ(pool.particleCount, 0);
}

}  // namespace
}  // namespace voidskirmish::game
