#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

#include <string>

#include "WorldFixture.h"

namespace voidskirmish::testing {
namespace {

using game::objects::laserBeams;

TEST(DamageTest, ChangeLineOnlyWhileOnAndDeathLineOnlyBelowZero) {
  game::objects::Spaceship ship(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  game::RenderSettings settings;
  const auto decrease = [&](float amount) { return printed([&] { ship.decreaseLife(amount, &settings); }); };
  settings.lifePointsChanges = true;
  EXPECT_EQ(decrease(1.0f), "Enemy life points decreased from 10 to 9\n");
  EXPECT_EQ(decrease(0.5f), "Enemy life points decreased from 9 to 8.5\n");
  settings.lifePointsChanges = false;
  EXPECT_EQ(decrease(8.5f), "");
  // Exactly 0 leaves the ship alive until the next decrease.
  EXPECT_FLOAT_EQ(ship.lifePoints, 0.0f);
  EXPECT_TRUE(ship.alive);
  EXPECT_FALSE(ship.hasLife());
  EXPECT_EQ(decrease(0.003f), DIED);
  EXPECT_FALSE(ship.alive);
  EXPECT_EQ(decrease(1.0f), "");  // a dead ship ignores damage without a word

  game::objects::Spaceship other(glm::vec3(0.0f), glm::vec3(0.0f), nullptr);
  other.lifePoints = 0.25f;
  settings.lifePointsChanges = true;
  EXPECT_EQ(printed([&] { other.decreaseLife(0.5f, &settings); }),
            "Enemy life points decreased from 0.25 to -0.25\n" + DIED);
  EXPECT_FLOAT_EQ(other.lifePoints, 0.0f);
}

// ship1 at the origin looks along −Z at ship2, 50 units ahead; ship2's near side is 44 units away.
class CombatTest : public MatchTest {
 protected:
  void SetUp() override {
    MatchTest::SetUp();
    ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -50.0f)));
  }
  std::string fire(game::objects::Spaceship& shooter, game::objects::Spaceship& target) {
    return printed([&] { match->fire(&shooter, &target, settings); });
  }

  const glm::vec3 shipHit{0.0f, 0.0f, -44.0f};
};

TEST_F(CombatTest, HitCostsOnePointWithFireAtTheHitAndABeamToIt) {
  EXPECT_EQ(fire(ship1(), ship2()), "");
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.0f);
  EXPECT_FLOAT_EQ(ship1().recoil, 1.0f);
  EXPECT_EQ(particlesAt(shipHit, 0), 500);
  EXPECT_EQ(liveParticles(), 500);
  ASSERT_EQ(laserBeams.size(), 1u);
  EXPECT_EQ(laserBeams.back()->start, glm::vec3(0.0f));
  EXPECT_EQ(laserBeams.back()->end, shipHit);
  EXPECT_FLOAT_EQ(laserBeams.back()->timeLeft, 0.5f);
}

TEST_F(CombatTest, AsteroidOnTheLineShieldsTheShipEvenAtTheSameDistance) {
  placeAsteroid(7, glm::vec3(0.0f, 0.0f, -30.0f), 3.0f);
  fire(ship1(), ship2());
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);
  EXPECT_EQ(laserBeams.back()->end, glm::vec3(0.0f, 0.0f, -27.0f));
  EXPECT_EQ(particlesAt(glm::vec3(0.0f, 0.0f, -27.0f), 1), 500);

  placeAsteroid(7, glm::vec3(0.0f, 0.0f, -50.0f), 6.0f);  // a tie goes to the asteroid
  fire(ship1(), ship2());
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);
  EXPECT_EQ(particlesAt(shipHit, 1), 500);

  placeAsteroid(7, glm::vec3(0.0f, 0.0f, -70.0f), 6.0f);  // behind the ship: no shield
  fire(ship1(), ship2());
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.0f);
}

TEST_F(CombatTest, TenthHitEndsTheLowerShipWithTheGameOverBlockOnly) {
  for (int shot = 0; shot < 9; ++shot) {
    EXPECT_EQ(fire(ship1(), ship2()), "");
  }
  render::clearParticles();
  EXPECT_EQ(fire(ship1(), ship2()), gameOver("lower"));
  EXPECT_FLOAT_EQ(ship2().lifePoints, 0.0f);
  EXPECT_TRUE(ship2().alive);
  EXPECT_EQ(particlesAt(glm::vec3(0.0f, 0.0f, -50.0f), 0), 10000);
  EXPECT_EQ(particlesAt(shipHit, 0), 500);

  // An eleventh hit, at 0 points, does no damage and throws grey debris.
  render::clearParticles();
  EXPECT_EQ(fire(ship1(), ship2()), "");
  EXPECT_EQ(particlesAt(shipHit, 1), 500);
  EXPECT_EQ(liveParticles(), 500);
  EXPECT_EQ(laserBeams.size(), 11u);
}

TEST_F(CombatTest, HitBelowOnePointPrintsTheDeathLineThenTheUpperBlock) {
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -50.0f), glm::pi<float>()));  // facing ship1
  ship1().lifePoints = 0.3f;
  EXPECT_EQ(fire(ship2(), ship1()), DIED + gameOver("upper"));
  EXPECT_FALSE(ship1().alive);
  EXPECT_EQ(particlesAt(glm::vec3(0.0f), 0), 10000);
}

TEST_F(CombatTest, LockedOrDeadShooterIsRefusedAndAMissLeavesTheLongBeamOnly) {
  ship1().collided = true;
  fire(ship1(), ship2());
  ship1().collided = false;
  ship1().lifePoints = 0.0f;
  fire(ship1(), ship2());
  EXPECT_FLOAT_EQ(ship1().recoil, 0.0f);
  EXPECT_TRUE(laserBeams.empty());
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);
  EXPECT_EQ(liveParticles(), 0);

  ship1().lifePoints = 10.0f;
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 30.0f, -50.0f)));
  fire(ship1(), ship2());
  ASSERT_EQ(laserBeams.size(), 1u);
  const game::objects::LaserBeam& beam = *laserBeams.back();
  EXPECT_EQ(beam.end - beam.start, glm::vec3(0.0f, 0.0f, -1.0f));
  // Half length 10^6 in the ship's frame, doubled by its scale.
  EXPECT_FLOAT_EQ(glm::length(glm::vec3(beam.modelMatrix[2])), 2.0e6f);
  EXPECT_EQ(liveParticles(), 0);

  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -3.0f)));  // shooter inside the target's sphere
  fire(ship1(), ship2());
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);
  EXPECT_EQ(liveParticles(), 0);
}

TEST_F(CombatTest, EachRoundGoesOnceToTheSurvivorAndADoubleDeathToNobody) {
  const auto endFrame = [&] { return printed([&] { match->endFrame(); }); };
  ship2().lifePoints = 1.0f;
  EXPECT_EQ(fire(ship1(), ship2()), gameOver("lower"));
  EXPECT_EQ(endFrame(), "Score: upper 1, lower 0\n");
  EXPECT_EQ(endFrame(), "");
  // The winner dying before ENTER does not turn the round already decided.
  match->outsideBoundary[0] = true;
  ship1().lifePoints = 0.001f;
  EXPECT_EQ(printed([&] { match->applyBoundaryRules(0, settings); }), DIED + gameOver("upper"));
  EXPECT_EQ(endFrame(), "");

  EXPECT_EQ(printed([&] { match->restart(); }), "");
  ship1().lifePoints = ship2().lifePoints = 0.5f;
  placeAsteroid(1, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  placeAsteroid(2, glm::vec3(0.0f, 8.0f, -50.0f), 4.0f);
  EXPECT_EQ(printed([&] { match->update(0.01f, settings); }), gameOver("upper") + gameOver("lower"));
  EXPECT_EQ(endFrame(), "Score: upper 1, lower 0\n");

  // ENTER in the frame of a death scores that round before the next begins.
  match->restart();
  match->outsideBoundary[0] = true;
  ship1().lifePoints = 0.003f;  // exactly used up: no death line
  EXPECT_EQ(printed([&] { match->applyBoundaryRules(0, settings); }), gameOver("upper"));
  EXPECT_EQ(printed([&] { match->restart(); }), "Score: upper 1, lower 1\n");
  EXPECT_EQ(endFrame(), "");
  EXPECT_FLOAT_EQ(ship1().lifePoints, 10.0f);
}

}  // namespace
}  // namespace voidskirmish::testing
