#include <gtest/gtest.h>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include "game/Random.h"
#include "render/ParticlePool.h"

// Where bursts go in the pool and how particles move and die. Each burst's size, place and colours in play are
// counted by the match's tests (WorldFixture.h); the fade and the drawing of what is packed, in tests/gl.
namespace voidskirmish::render {
namespace {

void markLive(int from, int to) {
  for (int i = from; i < to; ++i) {
    particlePool[i].life = 1.0f;
    particlePool[i].r = 7;  // tells an old particle from a respawned one
  }
}

TEST(ParticlePoolTest, FreeSlotSearchWrapsAFullPoolIsOverwrittenBackwardsAndABigBurstStaysInBounds) {
  clearParticles();
  lastUsedParticle = 50;
  markLive(50, 51);
  EXPECT_EQ(findFreeParticle(), 51);  // not slot 0, though it is free
  markLive(1, MAX_PARTICLES);         // only slot 0 is left, behind the cursor
  EXPECT_EQ(findFreeParticle(), 0);

  markLive(0, MAX_PARTICLES);
  lastUsedParticle = 2;
  spawnParticles(4, 1, glm::vec3(0.0f));
  for (int slot : {1, 0, MAX_PARTICLES - 1, MAX_PARTICLES - 2}) {
    EXPECT_FLOAT_EQ(particlePool[slot].life, 1.5f) << slot;
  }
  EXPECT_EQ(glm::ivec2(particlePool[2].r, particlePool[MAX_PARTICLES - 3].r), glm::ivec2(7));
  EXPECT_EQ(lastUsedParticle, MAX_PARTICLES - 2);

  clearParticles();
  spawnParticles(MAX_PARTICLES + 5, 0, glm::vec3(1.0f, 2.0f, 3.0f));
  updateParticles(0.01f);
  EXPECT_EQ(particleCount, MAX_PARTICLES);
  clearParticles();
}

TEST(ParticlePoolTest, UpdatePacksOnlyTheLivingALongFrameReversesAndTheLastStepEndsThem) {
  clearParticles();
  spawnParticles(3, 1, glm::vec3(0.0f));
  particlePool[0].velocity = glm::vec3(1.0f, -2.0f, 0.5f);
  particlePool[1].life = 0.0f;
  particlePool[2].position = glm::vec3(9.0f);

  updateParticles(0.125f);  // binary fractions of a second, so the last update lands on 0 itself
  EXPECT_FLOAT_EQ(particlePool[0].velocity.x, 0.375f);  // drag 5 per second leaves 37.5 % of the step
  EXPECT_FLOAT_EQ(particlePool[0].position.y, -0.75f);
  EXPECT_EQ(particleCount, 2);
  EXPECT_EQ(particlePositionSizeData[4], particlePool[2].position.x);  // slot 2 packed second
  updateParticles(0.375f);  // a frame over 0.2 s: the factor 1 - 5 t is -0.875 and throws the particle back
  EXPECT_EQ(glm::vec4(particlePool[0].velocity, particlePool[0].position.y),
            glm::vec4(-0.328125f, 0.65625f, -0.1640625f, -0.09375f));
  updateParticles(1.0f);  // exactly used up
  EXPECT_EQ(particleCount, 0);
}

}  // namespace
}  // namespace voidskirmish::render
