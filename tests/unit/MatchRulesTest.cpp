#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

#include <string>

#include "WorldFixture.h"

// Damage, shots, contacts, the arena and the beams' life, on a whole match without a window.
namespace voidskirmish::testing {
namespace {

using game::objects::laserBeams;

// The two ships stand 20 apart at rest unless a test moves them; the asteroids are far away.
class MatchUpdateTest : public MatchTest {
 protected:
  std::string update(float deltaTime) {
    return printed([&] { match->update(deltaTime, settings); });
  }
  float arenaRadius() const { return match->boundarySphere->boundingSphere.w; }
};

TEST_F(MatchUpdateTest, ShipsStartInsideTheArenaAndShip1BouncesFirstOffShip2) {
  EXPECT_EQ(ship1().position(), glm::vec3(0.0f));
  EXPECT_EQ(ship2().position(), glm::vec3(20.0f, 0.0f, 0.0f));
  EXPECT_FLOAT_EQ(ship1().boundingSphere.w, 6.0f);
  EXPECT_EQ(glm::vec3(match->boundarySphere->boundingSphere), glm::vec3(0.0f));
  EXPECT_NEAR(arenaRadius(), 1800.0f, 1.0f);

  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -15.0f)));
  ship1().speed = 60.0f;  // about 11 units into ship2 this frame
  update(0.1f);
  EXPECT_EQ(ship1().position(), glm::vec3(0.0f));
  EXPECT_FLOAT_EQ(ship1().lifePoints, 9.5f);
  EXPECT_TRUE(ship1().collided);
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);  // ship2 meets ship1's reset sphere
  EXPECT_FALSE(ship2().collided);
  EXPECT_EQ(liveParticles(), 500);

  ship2().setModelMatrix(shipPose(glm::vec3(10.0f, 0.0f, 0.0f)));  // a ship without life is not tested
  ship1().lifePoints = 0.0f;
  ship1().collided = false;
  update(0.1f);
  EXPECT_FALSE(ship1().collided);
  EXPECT_FLOAT_EQ(ship1().lifePoints, 0.0f);
  EXPECT_TRUE(ship2().collided);
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.5f);
}

TEST_F(MatchUpdateTest, OnlyTheFirstTouchingAsteroidCountsEvenWithoutLife) {
  placeAsteroid(3, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  placeAsteroid(7, glm::vec3(0.0f, -8.0f, 0.0f), 4.0f);
  EXPECT_EQ(update(0.1f), "");
  EXPECT_FLOAT_EQ(ship1().lifePoints, 9.5f);
  EXPECT_TRUE(ship1().collided);
  EXPECT_FALSE(ship2().collided);

  // A contact that takes a ship's last point ends it with the block, even at exactly 0; one without life left
  // has no point to lose.
  settings.lifePointsChanges = true;
  ship1().lifePoints = 0.0f;
  ship2().lifePoints = 0.5f;
  placeAsteroid(9, glm::vec3(20.0f, 8.0f, 0.0f), 4.0f);
  render::clearParticles();
  EXPECT_EQ(update(0.1f), "Enemy life points decreased from 0 to -0.5\n" + DIED +
                              "Enemy life points decreased from 0.5 to 0\n" + gameOver("lower"));
  EXPECT_FALSE(ship1().alive);
  EXPECT_FLOAT_EQ(ship1().lifePoints, 0.0f);
  EXPECT_EQ(particlesAt(glm::vec3(0.0f), 1), 500);
  EXPECT_EQ(particlesAt(glm::vec3(0.0f), 0), 5000);
  placeAsteroid(9, glm::vec3(100000.0f), 1.0f);
  EXPECT_EQ(update(0.1f), "");  // a dead ship takes no more damage, without a word
}

TEST_F(MatchUpdateTest, ShipTouchingTheArenaExactlyIsOutsideItsWarningPulsesAndADeathThereEndsIt) {
  const float touching = arenaRadius() + 6.0f;
  ship1().setModelMatrix(shipPose(glm::vec3(touching, 0.0f, 0.0f)));
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, touching - 0.5f)));
  update(0.1f);
  EXPECT_EQ(match->outsideBoundary, (std::array<bool, 2>{true, false}));
  EXPECT_EQ(match->warningBlend, (std::array<float, 2>{0.3f, 0.0f}));
  match->warningBlendDirection = -1.0f;
  update(0.05f);
  EXPECT_FLOAT_EQ(match->warningBlend[0], 0.15f);

  // The life bar's colour pulses between the life colour and red, turning at either end only outside.
  ship1().lifePoints = 5.0f;
  EXPECT_EQ(game::lifeColor(ship1()), glm::vec3(0.5f, 0.5f, 0.0f));
  match->warningBlend[0] = 0.5f;
  EXPECT_EQ(match->warningColor(0), glm::vec3(0.75f, 0.25f, 0.0f));
  match->warningBlend[0] = 1.2f;
  EXPECT_EQ(match->warningColor(0), glm::vec3(1.0f, 0.0f, 0.0f));
  match->outsideBoundary[0] = false;
  match->applyBoundaryRules(0, settings);  // inside: neither loss nor turn
  EXPECT_EQ(glm::vec2(match->warningBlend[0], ship1().lifePoints), glm::vec2(1.2f, 5.0f));
  match->outsideBoundary[0] = true;
  match->applyBoundaryRules(0, settings);
  EXPECT_EQ(glm::vec2(match->warningBlend[0], match->warningBlendDirection), glm::vec2(1.0f, -1.0f));
  match->warningBlend[0] = -0.1f;
  ship1().lifePoints = 12.0f;
  EXPECT_EQ(match->warningColor(0), glm::vec3(0.0f, 1.0f, 0.0f));
  match->applyBoundaryRules(0, settings);
  EXPECT_EQ(glm::vec2(match->warningBlend[0], match->warningBlendDirection), glm::vec2(0.0f, 1.0f));

  match->outsideBoundary[1] = true;
  match->applyBoundaryRules(1, settings);
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.997f);
  EXPECT_TRUE(match->outsideBoundary[1]);
  EXPECT_EQ(liveParticles(), 0);
  ship2().lifePoints = 0.002f;
  EXPECT_EQ(printed([&] { match->applyBoundaryRules(1, settings); }), DIED + gameOver("lower"));
  EXPECT_FALSE(match->outsideBoundary[1]);
  EXPECT_EQ(particlesAt(ship2().position(), 0), 10000);
  // A ship already at 0 dies outside too, but had no life to lose: no second burst, the warning stays.
  render::clearParticles();
  ship1().lifePoints = 0.0f;
  printed([&] { match->applyBoundaryRules(0, settings); });
  EXPECT_FALSE(ship1().alive);
  EXPECT_TRUE(match->outsideBoundary[0]);
  EXPECT_EQ(liveParticles(), 0);
}

TEST_F(MatchUpdateTest, BeamsAgeAndRetireFromTheFrontAfterOneLastFrameAtAlphaZero) {
  // A hit 100 ahead gives a quarter of the distance as half length, reaching the hit 2 units lower.
  const glm::vec3 hit(0.0f, 0.0f, -100.0f);
  laserBeams.push_back(std::make_unique<game::objects::LaserBeam>(&ship1(), hit, nullptr, match->beamModel));
  const glm::mat4& placement = laserBeams.front()->modelMatrix;
  EXPECT_FLOAT_EQ(glm::length(glm::vec3(placement[2])), 2.0f * 25.0f);
  const glm::vec3 farEnd(placement * glm::vec4(0.0f, 0.0f, -1.0f, 1.0f));
  EXPECT_NEAR(glm::distance(farEnd, hit + glm::vec3(0.0f, -2.0f, 0.0f)), 0.0f, 1e-3f);

  update(0.2f);
  EXPECT_FLOAT_EQ(laserBeams.front()->timeLeft, 0.3f);
  EXPECT_FLOAT_EQ(laserBeams.front()->alpha(), 0.3f);
  laserBeams.front()->timeLeft = 0.25f;  // binary fractions from here, so the last frame lands on 0 itself
  laserBeams.push_back(std::make_unique<game::objects::LaserBeam>(&ship1(), nullptr, match->beamModel));
  update(0.25f);
  ASSERT_EQ(laserBeams.size(), 2u);
  EXPECT_FLOAT_EQ(laserBeams.front()->alpha(), 0.0f);
  update(0.125f);
  ASSERT_EQ(laserBeams.size(), 1u);
  EXPECT_FLOAT_EQ(laserBeams.front()->timeLeft, 0.125f);
}

TEST_F(MatchUpdateTest, FrameTimeLineOnlyWhileTheSettingIsOn) {
  EXPECT_EQ(update(1.0f / 60.0f), "");
  settings.frameTime = true;
  EXPECT_EQ(update(1.0f / 60.0f), "Frame time: 0.0166667\t | FPS: 60\n");
  EXPECT_EQ(update(0.25f), "Frame time: 0.25\t | FPS: 4\n");
}

TEST_F(MatchUpdateTest, PausedMatchStandsStillAndResumesWithTheFramesOwnDelta) {
  ship1().speed = 50.0f;
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, arenaRadius() + 100.0f)));
  placeAsteroid(4, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  render::spawnParticles(500, 0, glm::vec3(0.0f, 0.0f, -30.0f));
  laserBeams.push_back(std::make_unique<game::objects::LaserBeam>(&ship1(), nullptr, match->beamModel));
  const glm::mat4 rock = game::objects::asteroidMatrices[0];
  match->paused = true;
  settings.frameTime = true;
  EXPECT_EQ(update(5.0f), "Frame time: 5\t | FPS: 0.2\n");  // only the frame-time line
  match->outsideBoundary[1] = true;
  match->warningBlend[1] = 1.5f;
  match->applyBoundaryRules(1, settings);
  EXPECT_EQ(ship1().position(), glm::vec3(0.0f));
  EXPECT_EQ(glm::vec3(ship1().lifePoints, ship2().lifePoints, match->warningBlend[1]), glm::vec3(10, 10, 1.5f));
  EXPECT_EQ(game::objects::asteroidMatrices[0], rock);
  EXPECT_EQ(liveParticles(), 500);
  EXPECT_FLOAT_EQ(laserBeams.front()->timeLeft, 0.5f);

  match->paused = false;
  placeAsteroid(4, glm::vec3(100000.0f), 1.0f);
  EXPECT_EQ(update(0.1f), "Frame time: 0.1\t | FPS: 10\n");
  EXPECT_NEAR(ship1().position().z, -9.1f, 1e-4f);  // 50 damped by 9 % to 45.5, 0.1 s, doubled by the scale
  EXPECT_FLOAT_EQ(laserBeams.front()->timeLeft, 0.4f);
}

// ship1 at the origin looks along −Z at ship2, 50 units ahead; ship2's near side is 44 units away.
class CombatTest : public MatchTest {
 protected:
  CombatTest() { ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -50.0f))); }
  std::string fire(game::objects::Spaceship& shooter, game::objects::Spaceship& target) {
    return printed([&] { match->fire(&shooter, &target, settings); });
  }

  const glm::vec3 shipHit{0.0f, 0.0f, -44.0f};
};

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

TEST_F(CombatTest, EachHitCostsOnePointWithFireAndABeamAndTheTenthEndsTheLowerShipWithTheGameOverBlockOnly) {
  EXPECT_EQ(fire(ship1(), ship2()), "");
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.0f);
  EXPECT_FLOAT_EQ(ship1().recoil, 1.0f);
  EXPECT_EQ(particlesAt(shipHit, 0), 500);
  EXPECT_EQ(liveParticles(), 500);
  ASSERT_EQ(laserBeams.size(), 1u);
  EXPECT_EQ(laserBeams.back()->start, glm::vec3(0.0f));
  EXPECT_EQ(laserBeams.back()->end, shipHit);
  EXPECT_FLOAT_EQ(laserBeams.back()->timeLeft, 0.5f);
  for (int shot = 1; shot < 9; ++shot) {
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
