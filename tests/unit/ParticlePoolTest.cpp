#include <gtest/gtest.h>

#include <glm/common.hpp>
#include <glm/vec2.hpp>
#include <glm/vector_relational.hpp>

#include "game/Random.h"
#include "render/ParticlePool.h"

namespace voidskirmish::render {
namespace {

class ParticlePoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearParticles();
    game::restartRandomSequence();
  }
  void TearDown() override { clearParticles(); }

  static void markLive(int from, int to) {
    for (int i = from; i < to; ++i) {
      particlePool[i].life = 1.0f;
      particlePool[i].r = 7;  // tells an old particle from a respawned one
    }
  }
};

TEST_F(ParticlePoolTest, FreeSlotSearchWrapsAFullPoolIsOverwrittenBackwardsAndABigBurstStaysInBounds) {
  lastUsedParticle = 50;
  markLive(50, 51);
  EXPECT_EQ(findFreeParticle(), 51);  // not slot 0, though it is free
  markLive(1, MAX_PARTICLES);         // only slot 0 is left, behind the cursor
  EXPECT_EQ(findFreeParticle(), 0);
  EXPECT_EQ(lastUsedParticle, 0);

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
  EXPECT_EQ(lastUsedParticle, MAX_PARTICLES - 6);
  updateParticles(0.01f);
  EXPECT_EQ(particleCount, MAX_PARTICLES);
}

TEST_F(ParticlePoolTest, FireAndDebrisColoursStayInTheirRanges) {
  spawnParticles(2000, 0, glm::vec3(0.0f));
  int white = 0;
  for (int i = 0; i < 2000; ++i) {
    const Particle& p = particlePool[i];
    if (p.b == 255) {
      ++white;  // the slowest: one number sets both colour and speed
      ASSERT_TRUE(p.r == 255 && p.g == 255 && glm::all(glm::lessThanEqual(glm::abs(p.velocity), glm::vec3(0.3f))));
    } else {
      ASSERT_TRUE(p.r == 255 && p.g <= 229 && p.b == 0) << int(p.g);
    }
  }
  EXPECT_TRUE(white > 100 && white < 300) << white;

  spawnParticles(2000, 1, glm::vec3(0.0f));
  for (int i = 2000; i < 4000; ++i) {
    const Particle& p = particlePool[i];
    ASSERT_TRUE(p.r == p.g && p.g == p.b && p.r >= 50 && p.r <= 120) << int(p.r);
  }
}

TEST_F(ParticlePoolTest, UpdateFadesInTheLastSecondPacksOnlyTheLivingAndDragNeverReverses) {
  spawnParticles(3, 1, glm::vec3(0.0f));
  particlePool[0].velocity = glm::vec3(1.0f, -2.0f, 0.5f);
  particlePool[1].life = 0.0f;
  particlePool[2].position = glm::vec3(9.0f);
  particlePool[2].velocity = glm::vec3(0.0f);

  updateParticles(0.125f);  // binary fractions of a second, so the last update lands on 0 itself
  EXPECT_FLOAT_EQ(particlePool[0].velocity.x, 0.375f);  // drag 5 per second leaves 37.5 % of the step
  EXPECT_FLOAT_EQ(particlePool[0].position.y, -0.75f);
  EXPECT_EQ(particleCount, 2);
  EXPECT_EQ(particleColorData[3], 255);  // 1.375 s left: still opaque
  EXPECT_FLOAT_EQ(particlePositionSizeData[4], 9.0f);  // slot 2 packed second
  EXPECT_FLOAT_EQ(particlePositionSizeData[7], 0.5f);
  updateParticles(0.375f);  // a slow frame brings the particle to rest where it is
  EXPECT_EQ(particlePool[0].velocity, glm::vec3(0.0f));
  EXPECT_FLOAT_EQ(particlePool[0].position.y, -0.75f);
  updateParticles(0.25f);
  EXPECT_EQ(glm::ivec2(particleColorData[3], particleColorData[7]), glm::ivec2(191));  // 0.75 s left
  updateParticles(0.75f);  // exactly used up
  EXPECT_EQ(particleCount, 0);
  EXPECT_LE(particlePool[0].life, 0.0f);
}

}  // namespace
}  // namespace voidskirmish::render
