#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "WorldFixture.h"
#include "game/Controls.h"
#include "input/Keys.h"

// Damage, shots, contacts, the arena, rounds and the beams' life, on a whole match without a window. What the
// console shows of them (each hit's line, the death lines, the score) is replayed in tests/replays/rule-rounds.rec.
namespace voidskirmish::testing {
namespace {

const std::string DIED = "Player died => Game is over!\nPlease Restart with ENTER or exit the game with ESC\n";

std::string gameOver(const char* half) {
  const std::string rule(65, '-');
  return "\n" + rule + "\nPlayer of " + half +
         " window died => Game is over!\nPlease Restart with ENTER or exit the game with ESC\n" + rule + "\n";
}

// A ship's pose as the match sets it: translated, then scaled by 2.
glm::mat4 shipPose(glm::vec3 position) {
  return glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(2.0f));
}

// The two ships stand 20 apart at rest unless a test moves them; the asteroids are far away.
class MatchUpdateTest : public MatchTest {
 protected:
  std::string update(float deltaTime) {
    return printed([&] { match->update(deltaTime, settings); });
  }
  float arenaRadius() const { return match->boundarySphere->boundingSphere.w; }
};

TEST_F(MatchUpdateTest, OnlyTheShipThatRanIntoTheOtherBouncesBackAndAShipWithoutLifeIsNotTested) {
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -15.0f)));
  ship1().speed = 60.0f;  // about 11 units into ship2 this frame
  update(0.1f);
  // Back where it started, camera and sphere alike, at half the speed it had after damping (54.6), reversed.
  EXPECT_EQ(glm::vec4(ship1().boundingSphere), glm::vec4(0.0f, 0.0f, 0.0f, 6.0f));
  EXPECT_EQ(glm::vec3(ship1().camera->modelMatrix[3]), glm::vec3(0.0f, 1.0f, -2.2f));
  EXPECT_NEAR(ship1().speed, -27.3f, 1e-4f);
  EXPECT_TRUE(ship1().collided && !ship2().collided);  // ship2 meets ship1 back where it started
  EXPECT_EQ(particles(), 500);

  ship2().setModelMatrix(shipPose(glm::vec3(10.0f, 0.0f, 0.0f)));
  ship1().lifePoints = 0.0f;
  ship1().collided = false;
  update(0.1f);
  EXPECT_TRUE(!ship1().collided && ship2().collided);
}

TEST_F(MatchUpdateTest, OnlyTheFirstTouchingAsteroidCountsEvenWithoutLife) {
  placeAsteroid(3, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  placeAsteroid(7, glm::vec3(0.0f, -8.0f, 0.0f), 4.0f);
  EXPECT_EQ(update(0.1f), "");
  EXPECT_FLOAT_EQ(ship1().lifePoints, 9.5f);
  EXPECT_TRUE(ship1().collided && !ship2().collided);

  // A contact that takes a ship's last point ends it with the block, even at exactly 0; one without life left
  // has no point to lose.
  settings.lifePointsChanges = true;
  ship1().lifePoints = 0.0f;
  ship2().lifePoints = 0.5f;
  placeAsteroid(9, glm::vec3(20.0f, 8.0f, 0.0f), 4.0f);
  match->particles->clearParticles();
  EXPECT_EQ(update(0.1f), "Enemy life points decreased from 0 to -0.5\n" + DIED +
                              "Enemy life points decreased from 0.5 to 0\n" + gameOver("lower"));
  EXPECT_FLOAT_EQ(ship1().lifePoints, 0.0f);
  EXPECT_EQ(glm::ivec2(particles(1), particles(0)), glm::ivec2(500, 5000));
  // Announced once: the ship left at exactly 0 is dead, so the next contact neither kills nor scores it again.
  EXPECT_EQ(update(0.1f), "");
  EXPECT_FLOAT_EQ(ship2().lifePoints, 0.0f);
}

TEST_F(MatchUpdateTest, ShipTouchingTheArenaExactlyIsOutsideItsWarningPulsesAndADeathThereEndsIt) {
  const float touching = arenaRadius() + 6.0f;
  ship1().setModelMatrix(shipPose(glm::vec3(touching, 0.0f, 0.0f)));
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, touching - 0.5f)));
  update(0.1f);
  EXPECT_EQ(match->outsideBoundary, (std::array<bool, 2>{true, false}));
  EXPECT_EQ(match->warningBlend, (std::array<float, 2>{0.3f, 0.0f}));

  // The pulse turns at either end, only outside: (outside, blend) gives (blend, direction).
  const struct { bool outside; float blend; glm::vec2 turned; } pulses[] = {
      {true, 1.2f, {1, -1}}, {true, -0.1f, {0, 1}}, {false, 1.2f, {1.2f, 1}}, {true, 0.5f, {0.5f, 1}},
      {true, 1.2f, {1, -1}}};
  for (const auto& p : pulses) {
    match->outsideBoundary[0] = p.outside;
    match->warningBlend[0] = p.blend;
    match->applyBoundaryRules(0, settings);
    EXPECT_EQ(glm::vec2(match->warningBlend[0], match->warningBlendDirection), p.turned) << p.blend;
  }
  update(0.05f);  // fading now
  EXPECT_FLOAT_EQ(match->warningBlend[0], 0.85f);

  // The loss that takes the last point ends the ship and its warning with the big burst; a ship already at 0
  // has no point to lose: no second burst, and the warning stays.
  match->outsideBoundary[1] = true;
  ship2().lifePoints = 0.002f;
  EXPECT_EQ(printed([&] { match->applyBoundaryRules(1, settings); }), DIED + gameOver("lower"));
  EXPECT_FALSE(match->outsideBoundary[1]);
  EXPECT_EQ(particles(0, ship2().position()), 10000);
  match->particles->clearParticles();
  ship1().lifePoints = 0.0f;
  printed([&] { match->applyBoundaryRules(0, settings); });
  EXPECT_TRUE(!ship1().alive && match->outsideBoundary[0]);
  EXPECT_EQ(particles(), 0);
}

TEST_F(MatchUpdateTest, PausedMatchStandsStillAndResumesWithTheFramesOwnDelta) {
  ship1().speed = 50.0f;
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, arenaRadius() + 100.0f)));
  placeAsteroid(4, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  match->particles->spawnParticles(500, 0, glm::vec3(0.0f, 0.0f, -30.0f), match->random);
  match->laserBeams.push_back(std::make_unique<game::objects::LaserBeam>(&ship1(), nullptr, match->beamModel));
  const glm::mat4 rock = match->asteroids->asteroidMatrices[0];
  match->paused = true;
  update(5.0f);
  match->outsideBoundary[1] = true;
  match->warningBlend[1] = 1.5f;
  match->applyBoundaryRules(1, settings);
  EXPECT_EQ(ship1().position(), glm::vec3(0.0f));
  EXPECT_EQ(glm::vec3(ship1().lifePoints, ship2().lifePoints, match->warningBlend[1]), glm::vec3(10, 10, 1.5f));
  EXPECT_EQ(match->asteroids->asteroidMatrices[0], rock);
  EXPECT_EQ(particles(), 500);
  EXPECT_FLOAT_EQ(match->laserBeams.front()->timeLeft, 0.5f);

  match->paused = false;
  placeAsteroid(4, glm::vec3(100000.0f), 1.0f);
  update(0.1f);
  EXPECT_NEAR(ship1().position().z, -9.1f, 1e-4f);  // 50 damped by 9 % to 45.5, 0.1 s, doubled by the scale
  EXPECT_FLOAT_EQ(match->laserBeams.front()->alpha(), 0.4f);
}

// ship1 at the origin looks along −Z at ship2, 50 units ahead; ship2's near side is 44 units away.
class CombatTest : public MatchTest {
 protected:
  CombatTest() { ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -50.0f))); }
  std::string fire() {
    return printed([&] { match->fire(&ship1(), &ship2(), settings); });
  }

  const glm::vec3 shipHit{0.0f, 0.0f, -44.0f};
};

TEST_F(CombatTest, AsteroidOnTheLineShieldsTheShipEvenAtTheSameDistance) {
  // Ahead of the ship, level with its near side (a tie goes to the asteroid), and behind it: no shield.
  const struct { float z, radius, life; } rocks[] = {{-30.0f, 3.0f, 10.0f}, {-50.0f, 6.0f, 10.0f}, {-70.0f, 6.0f, 9}};
  for (const auto& rock : rocks) {
    placeAsteroid(7, glm::vec3(0.0f, 0.0f, rock.z), rock.radius);
    fire();
    EXPECT_FLOAT_EQ(ship2().lifePoints, rock.life) << rock.z;
  }
  EXPECT_EQ(match->laserBeams.front()->end, glm::vec3(0.0f, 0.0f, -27.0f));
  EXPECT_EQ(glm::ivec2(particles(1, glm::vec3(0.0f, 0.0f, -27.0f)), particles(1, shipHit)), glm::ivec2(500));
}

TEST_F(CombatTest, AHitThrowsFireAndABeamToItTheLastPointTheBigBurstAndAHitAtZeroOnlyDebris) {
  EXPECT_EQ(fire(), "");
  EXPECT_FLOAT_EQ(ship2().lifePoints, 9.0f);
  EXPECT_FLOAT_EQ(ship1().recoil, 1.0f);
  EXPECT_EQ(glm::ivec2(particles(0, shipHit), particles()), glm::ivec2(500));
  ASSERT_EQ(match->laserBeams.size(), 1u);
  // A quarter of the distance as half length, reaching the hit from the gun 2 units lower.
  const glm::mat4& placement = match->laserBeams.back()->modelMatrix;
  EXPECT_FLOAT_EQ(glm::length(glm::vec3(placement[2])), 2.0f * 11.0f);
  const glm::vec3 farEnd(placement * glm::vec4(0.0f, 0.0f, -1.0f, 1.0f));
  EXPECT_NEAR(glm::distance(farEnd, shipHit + glm::vec3(0.0f, -2.0f, 0.0f)), 0.0f, 1e-3f);

  ship2().lifePoints = 1.0f;
  match->particles->clearParticles();
  EXPECT_EQ(fire(), gameOver("lower"));
  EXPECT_FALSE(ship2().alive);  // dead once announced, even at exactly 0
  EXPECT_EQ(glm::ivec2(particles(0, ship2().position()), particles(0, shipHit)), glm::ivec2(10000, 500));

  match->particles->clearParticles();
  EXPECT_EQ(fire(), "");
  EXPECT_FLOAT_EQ(ship2().lifePoints, 0.0f);
  EXPECT_EQ(glm::ivec2(particles(1, shipHit), particles()), glm::ivec2(500));
}

TEST_F(CombatTest, LockedOrDeadShooterIsRefusedAndAMissLeavesABeamOnly) {
  ship1().collided = true;
  fire();
  ship1().collided = false;
  ship1().lifePoints = 0.0f;
  fire();
  EXPECT_TRUE(ship1().recoil == 0.0f && match->laserBeams.empty() && particles() == 0);

  // A miss, and a shot from inside the target's sphere, leave a long beam without a burst; its length is seen in
  // tests/replays/duel.rec.
  ship1().lifePoints = 10.0f;
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 30.0f, -50.0f)));
  fire();
  ship2().setModelMatrix(shipPose(glm::vec3(0.0f, 0.0f, -3.0f)));
  fire();
  EXPECT_FLOAT_EQ(ship2().lifePoints, 10.0f);
  EXPECT_EQ(glm::ivec2(match->laserBeams.size(), particles()), glm::ivec2(2, 0));
}

// Both ships dying in one frame (in rule-rounds.rec: a round going to the survivor once, the winner's later
// death changing nothing, ENTER in the frame of a death scoring first).
TEST_F(CombatTest, BothShipsDyingInOneFrameGiveTheRoundToNobody) {
  ship1().lifePoints = ship2().lifePoints = 0.5f;
  placeAsteroid(1, glm::vec3(0.0f, 8.0f, 0.0f), 4.0f);
  placeAsteroid(2, glm::vec3(0.0f, 8.0f, -50.0f), 4.0f);
  EXPECT_EQ(printed([&] { match->update(0.01f, settings); }), gameOver("upper") + gameOver("lower"));
  EXPECT_EQ(printed([&] { match->endFrame(); }), "Score: upper 0, lower 0\n");
}

// What the sound hears of a frame: the killing shot's events in the order they happened, the engine's share of
// full thrust; the next frame starts afresh in the same storage, and a paused match thrusts nothing.
TEST_F(CombatTest, AFrameReportsWhatCanBeHeardAndTheNextStartsAfresh) {
  using Kind = game::MatchEvents::Kind;
  const auto kinds = [&] {
    std::vector<Kind> seen;
    for (const game::MatchEvents::Happening& happening : match->events.frame()) {
      seen.push_back(happening.kind);
    }
    return seen;
  };
  ship2().lifePoints = 1.0f;
  ship1().thrustForward = true;
  ship1().thrust = 30.0f;
  fire();
  printed([&] { match->endFrame(); });
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Shot, Kind::Explosion, Kind::ShipHit, Kind::Burst, Kind::RoundEnd}));
  EXPECT_EQ(match->events.frame()[0].position, ship1().position());
  EXPECT_EQ(match->events.frame()[2].position, shipHit);
  EXPECT_EQ(match->events.thrust, (std::array<float, 2>{0.5f, 0.0f}));
  const game::MatchEvents::Happening* storage = match->events.frame().data();

  std::ostringstream out;
  game::Controls(*match, settings, out).keyPressed(input::keys::PAUSE);
  match->update(0.1f, settings);
  match->endFrame();
  EXPECT_EQ(kinds(), std::vector<Kind>{Kind::Paused});
  EXPECT_EQ(match->events.frame().data(), storage);
  EXPECT_EQ(match->events.thrust, (std::array<float, 2>{0.0f, 0.0f}));
}

}  // namespace
}  // namespace voidskirmish::testing
