#include "game/Match.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <iostream>
#include <limits>
#include <optional>


namespace voidskirmish::game {

using collision::isHit;
using collision::spheresOverlap;
using objects::Spaceship;

namespace {

constexpr float SHIP_RADIUS = 6.0f;
constexpr float MAX_LIFE_POINTS = 10.0f;
constexpr float CONTACT_DAMAGE = 0.5f;
constexpr float LASER_DAMAGE = 1.0f;
constexpr float OUT_OF_BOUNDS_DAMAGE = 0.003f;

constexpr int FIRE = 0;
constexpr int DEBRIS = 1;
constexpr int SMALL_BURST = 500;
constexpr int CONTACT_DEATH_BURST = 5000;
constexpr int DEATH_BURST = 10000;

const char* const RULE = "-----------------------------------------------------------------";

}  // namespace

Match::Match(const Programs& programs, std::ostream& console) : programs(programs), console(console) {
  boundarySphere = std::make_unique<objects::BoundarySphere>(glm::vec3(1500.0f), programs.draw);
  // Only the drawn warning grows; the arena's radius stays as loaded.
  boundarySphere->setModelMatrix(glm::scale(boundarySphere->modelMatrix, glm::vec3(1.3f)));

  ship1 = std::make_unique<Spaceship>(glm::vec3(0.0f), glm::vec3(0.0f), programs.draw);
  ship1->boundingSphere.w = SHIP_RADIUS;
  ship2 = std::make_unique<Spaceship>(glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f), programs.draw);
  ship2->boundingSphere.w = SHIP_RADIUS;

  asteroids = std::make_unique<objects::Asteroid>(programs.normalMapping, random);
  beamModel = objects::LaserBeam::readModel();
}

void Match::save(MatchSnapshot& snapshot) const {
  snapshot.ships = {ship1->save(), ship2->save()};
  snapshot.asteroidMatrices = asteroids->asteroidMatrices;
  snapshot.beams.clear();
  for (const auto& beam : laserBeams) {
    snapshot.beams.push_back(beam->save());
  }
  particles->save(snapshot.particles);
  snapshot.random = random;
  snapshot.computerRandom = computerRandom;
  snapshot.rounds = rounds;
  snapshot.paused = paused;
  snapshot.outsideBoundary = outsideBoundary;
  snapshot.warningBlend = warningBlend;
  snapshot.warningBlendDirection = warningBlendDirection;
  snapshot.frameNumber = frameNumber;
}

void Match::restore(const MatchSnapshot& snapshot) {
  ship1->restore(snapshot.ships[0]);
  ship2->restore(snapshot.ships[1]);
  asteroids->asteroidMatrices = snapshot.asteroidMatrices;
  // Rebuilt from the model read at set-up: a restore reads nothing from disk.
  laserBeams.clear();
  for (const objects::LaserBeam::Saved& beam : snapshot.beams) {
    laserBeams.push_back(std::make_unique<objects::LaserBeam>(beam, programs.laser, beamModel));
  }
  particles->restore(snapshot.particles);
  random = snapshot.random;
  computerRandom = snapshot.computerRandom;
  rounds = snapshot.rounds;
  paused = snapshot.paused;
  outsideBoundary = snapshot.outsideBoundary;
  warningBlend = snapshot.warningBlend;
  warningBlendDirection = snapshot.warningBlendDirection;
  frameNumber = snapshot.frameNumber;
}

void Match::update(float deltaTime, scene::RenderSettings& settings) {
  events.begin();
  ++frameNumber;
  if (!paused) {
    advance(deltaTime, settings);
  }
  if (settings.frameTime) {
    console << "Frame time: " << deltaTime << "\t | FPS: " << 1.0f / deltaTime << std::endl;
  }
}

void Match::advance(float deltaTime, const scene::RenderSettings& settings) {
  ship1->update(deltaTime);
  ship2->update(deltaTime);
  asteroids->spin(deltaTime);

  // ship2 meets ship1 where ship1's bounce has already put it back.
  if (ship1->hasLife() && spheresOverlap(ship1->boundingSphere, ship2->boundingSphere)) {
    collide(*ship1, settings);
  }
  if (ship2->hasLife() && spheresOverlap(ship2->boundingSphere, ship1->boundingSphere)) {
    collide(*ship2, settings);
  }

  particles->updateParticles(deltaTime);

  for (int player = 0; player < 2; ++player) {
    Spaceship& own = ship(player);
    // At most one asteroid per ship and frame, whether or not the ship has life left.
    for (std::size_t i = 0; i < asteroids->sphereCount(); ++i) {
      if (spheresOverlap(asteroids->asteroidSpheres[i], own.boundingSphere)) {
        collide(own, settings);
        break;
      }
    }
    outsideBoundary[player] = !spheresOverlap(own.boundingSphere, boundarySphere->boundingSphere);
    if (outsideBoundary[player]) {
      warningBlend[player] += warningBlendDirection * 3.0f * deltaTime;
    }
  }

  // All beams live equally long, so the expired ones are at the front.
  while (!laserBeams.empty() && laserBeams.front()->timeLeft <= 0.0f) {
    laserBeams.pop_front();
  }
  for (auto& beam : laserBeams) {
    beam->update(deltaTime);
  }
}

void Match::fire(Spaceship* shooter, Spaceship* target, const scene::RenderSettings& settings) {
  if (!shooter->hasLife() || shooter->collided) {
    return;
  }
  shooter->recoil = 1.0f;
  events.add(MatchEvents::Kind::Shot, shooter->position());
  const collision::Line ray = shooter->getLaserLine();

  std::optional<glm::vec3> hitPoint;
  float bestDistance = std::numeric_limits<float>::infinity();
  int burstKind = DEBRIS;
  const glm::vec3 asteroidHit = asteroids->nearestHit(ray);
  MatchEvents::Kind hitKind = MatchEvents::Kind::AsteroidHit;
  if (isHit(asteroidHit)) {
    hitPoint = asteroidHit;
    bestDistance = glm::distance(asteroidHit, ray.start);
  }

  // An asteroid exactly as far away as the target shields it.
  const glm::vec3 targetHit = collision::intersectSphere(target->boundingSphere, ray);
  if (isHit(targetHit) && glm::distance(targetHit, ray.start) < bestDistance) {
    hitPoint = targetHit;
    hitKind = MatchEvents::Kind::ShipHit;
    if (target->hasLife()) {
      target->decreaseLife(LASER_DAMAGE, &settings, console);
      burstKind = FIRE;
      if (!target->hasLife()) {
        particles->spawnParticles(DEATH_BURST, FIRE, target->position(), random);
        events.add(MatchEvents::Kind::Explosion, target->position());
        destroyed(*target);
      }
    }
  }

  if (!hitPoint) {
    laserBeams.push_back(std::make_unique<objects::LaserBeam>(shooter, programs.laser, beamModel));
    return;
  }
  laserBeams.push_back(
      std::make_unique<objects::LaserBeam>(shooter, *hitPoint, programs.laser, beamModel));
  particles->spawnParticles(SMALL_BURST, burstKind, *hitPoint, random);
  events.add(hitKind, *hitPoint);
  events.add(MatchEvents::Kind::Burst, *hitPoint);
}

void Match::restart() {
  settleRound();
  rounds.startNext();
  for (Spaceship* each : {ship1.get(), ship2.get()}) {
    each->lifePoints = MAX_LIFE_POINTS;
    each->alive = true;
  }
}

void Match::endFrame() {
  settleRound();
  events.begin();
  for (int player = 0; player < 2; ++player) {
    const Spaceship& own = ship(player);
    const bool flying = !paused && own.hasLife();
    const bool thrusting = flying && (own.thrustForward || own.thrustBackward);
    events.shipPosition[player] = own.position();
    events.thrust[player] = thrusting ? glm::min(1.0f, glm::abs(own.thrust) / own.thrustAcceleration) : 0.0f;
    events.speed[player] = glm::min(1.0f, glm::abs(own.speed) / own.maxSpeed);
    events.warning[player] = flying && outsideBoundary[player] ? glm::clamp(warningBlend[player], 0.0f, 1.0f) : 0.0f;
  }
  events.end();
}

void Match::settleRound() {
  if (rounds.settle(console)) {
    events.add(MatchEvents::Kind::RoundEnd);
  }
}

void Match::applyBoundaryRules(int player, const scene::RenderSettings& settings) {
  if (paused || !outsideBoundary[player]) {
    return;
  }
  applyOutOfBoundsLoss(player, settings);
  if (outsideBoundary[player]) {
    turnWarningPulse(player);
  }
}

void Match::applyOutOfBoundsLoss(int player, const scene::RenderSettings& settings) {
  Spaceship& own = ship(player);
  const bool hadLife = own.hasLife();
  // Per rendered frame, not scaled by time.
  own.decreaseLife(OUT_OF_BOUNDS_DAMAGE, &settings, console);
  if (own.hasLife() != hadLife) {
    outsideBoundary[player] = false;
    particles->spawnParticles(DEATH_BURST, FIRE, own.position(), random);
    events.add(MatchEvents::Kind::Explosion, own.position());
    destroyed(own);
  }
}

void Match::turnWarningPulse(int player) {
  float& blend = warningBlend[player];
  if (blend > 1.0f) {
    blend = 1.0f;
    warningBlendDirection = -1.0f;
  } else if (blend < 0.0f) {
    blend = 0.0f;
    warningBlendDirection = 1.0f;
  }
}

glm::vec3 Match::warningColor(int player) const {
  // Clamped here too: a frame that was updated but never drawn (a minimised window) leaves the pulse unturned.
  const float blend = glm::clamp(warningBlend[player], 0.0f, 1.0f);
  return (1.0f - blend) * lifeColor(ship(player)) + blend * glm::vec3(1.0f, 0.0f, 0.0f);
}

void Match::destroyed(Spaceship& ship) {
  // A ship left at exactly 0 is announced here: it is dead from now on, so a later contact or loss outside the
  // arena cannot announce it again.
  ship.alive = false;
  const bool upper = &ship == ship1.get();
  console << '\n' << RULE << std::endl;
  console << "Player of " << (upper ? "upper" : "lower")
            << " window died => Game is over!\nPlease Restart with ENTER or exit the game with ESC" << std::endl;
  console << RULE << std::endl;
  rounds.shipDied(upper ? 0 : 1);
}

void Match::collide(Spaceship& ship, const scene::RenderSettings& settings) {
  const bool hadLife = ship.hasLife();
  ship.bounceBack();
  ship.decreaseLife(CONTACT_DAMAGE, &settings, console);
  particles->spawnParticles(SMALL_BURST, DEBRIS, ship.position(), random);
  events.add(MatchEvents::Kind::Collision, ship.position());
  events.add(MatchEvents::Kind::Burst, ship.position());
  if (!ship.hasLife()) {
    particles->spawnParticles(CONTACT_DEATH_BURST, FIRE, ship.position(), random);
    events.add(MatchEvents::Kind::Explosion, ship.position());
  }
  if (hadLife && !ship.hasLife()) {
    destroyed(ship);
  }
}

glm::vec3 lifeColor(const Spaceship& ship) {
  const float t = glm::clamp(ship.lifePoints / MAX_LIFE_POINTS, 0.0f, 1.0f);
  return t * ship.fullLifeColor + (1.0f - t) * ship.lowLifeColor;
}

}  // namespace voidskirmish::game
