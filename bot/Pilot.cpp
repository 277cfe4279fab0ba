#include "bot/Pilot.h"

#include <cmath>

#include <glm/geometric.hpp>

#include "bot/Steering.h"

namespace voidskirmish::bot {
namespace {

// Stick values go in sixteenths, as a pad's would in steps: a steady hand sends no stream of tiny changes.
float padStep(float value) { return std::round(std::clamp(value, -1.0f, 1.0f) * 16.0f) / 16.0f; }

constexpr float DODGE_UNLESS_WITHIN = 0.3f;  // radians

// -1 to 1 from the match's sequence for the computer.
float either(game::Random& chance) { return chance.unit() * 2.0f - 1.0f; }

}  // namespace

Pilot::Pilot(int ship, input::ComputerLevel level)
    : own(ship), skillLevel(level), skill(skillOf(level)), sinceLook(skill.reaction) {}

void Pilot::decide(game::Match& match, float delta, std::vector<input::Event>& events) {
  if (match.paused) {
    return;  // a paused match takes no flight; what is held stays for the resume
  }
  look(match, delta);
  send(fly(match), events);
}

void Pilot::look(game::Match& match, float delta) {
  sinceLook += delta;
  sinceShot += delta;
  dodgeLeft -= delta;
  if (sinceLook < skill.reaction) {
    return;
  }
  sinceLook = 0.0f;
  game::Random& chance = match.computerRandom;
  const ShipState enemy = stateOf(match.ship(1 - own));
  seenPosition = enemy.position;
  seenVelocity = enemy.velocity();
  aimError = glm::vec2(either(chance), either(chance)) * skill.aimError;
  // A dodge when the enemy has it in its sights and it cannot answer at once: its own nose is far off.
  const ShipState state = stateOf(match.ship(own));
  const bool answers = glm::length(steering::anglesTo(state, enemy.position - state.position)) < DODGE_UNLESS_WITHIN;
  if (dodgeLeft <= 0.0f && match.ship(1 - own).hasLife() && !answers &&
      steering::inSights(enemy, state.position, state.radius, 0.05f) && chance.unit() < skill.evasion) {
    dodgeLeft = 0.5f + 0.5f * chance.unit();
    dodge = glm::vec2(either(chance) < 0.0f ? -1.0f : 1.0f, either(chance) < 0.0f ? -1.0f : 1.0f);
  }
}

Pilot::Sticks Pilot::fly(const game::Match& match) {
  const game::objects::Spaceship& ship = match.ship(own);
  if (!ship.hasLife()) {
    return {};
  }
  const ShipState state = stateOf(ship);
  const auto steerTo = [&](glm::vec3 direction, float thrust) {
    const glm::vec2 stick = steering::turnToward(state, direction);
    return Sticks{thrust, stick.x, stick.y, false};
  };
  const auto& asteroids = *match.asteroids;
  if (const auto way = steering::avoidance(state, asteroids.asteroidSpheres, asteroids.sphereCount())) {
    // Slow down while the nose is still far from the way out.
    return steerTo(*way, glm::dot(state.forward(), *way) < 0.7f && state.speed > 20.0f ? -1.0f : 0.3f);
  }
  if (const auto home = steering::arenaReturn(state, match.boundarySphere->boundingSphere)) {
    const bool facing = glm::dot(state.forward(), *home) > 0.7f;
    return steerTo(*home, facing ? 1.0f : (state.speed > 30.0f ? -1.0f : 0.0f));
  }
  if (dodgeLeft > 0.0f) {
    return Sticks{state.speed > 60.0f ? -1.0f : 1.0f, dodge.x, dodge.y, false};
  }
  if (!match.ship(1 - own).hasLife()) {
    // The round is won: break off, so the next one does not begin with the beaten ship under the gun.
    const glm::vec3 away = state.position - match.ship(1 - own).position();
    return steerTo(glm::length(away) > 0.0f ? glm::normalize(away) : state.forward(), 1.0f);
  }
  return attack(match);
}

Pilot::Sticks Pilot::attack(const game::Match& match) {
  const ShipState state = stateOf(match.ship(own));
  // Where it takes the enemy to be now: flown on from the last look, off by its aim error sideways and up.
  const glm::vec3 target = seenPosition + seenVelocity * sinceLook;
  const float distance = glm::length(target - state.position);
  const glm::vec3 taken = target + (state.axes[0] * aimError.x + state.axes[1] * aimError.y) * distance;
  const glm::vec2 stick =
      steering::turnToward(state, steering::aimPoint(state, taken, seenVelocity) - state.position);
  Sticks sticks{steering::keepDistance(state, target, seenVelocity), stick.x, stick.y, false};
  const float radius = match.ship(1 - own).boundingSphere.w;
  if (sinceShot >= skill.fireInterval && !match.ship(own).collided &&
      steering::inSights(state, taken, radius, skill.fireSlack)) {
    const glm::vec3 hit = match.asteroids->nearestHit(match.ship(own).getLaserLine());
    const bool covered = glm::length(hit - state.position) < distance;
    sticks.fire = !(skill.checksCover && covered);
  }
  return sticks;
}

void Pilot::send(const Sticks& sticks, std::vector<input::Event>& events) {
  const std::array<float, 4> wanted{padStep(sticks.thrust), padStep(sticks.yaw), padStep(sticks.pitch),
                                    sticks.fire && sent[3] == 0.0f ? 1.0f : 0.0f};
  if (wanted[3] > 0.0f) {
    sinceShot = 0.0f;
  }
  for (std::size_t control = 0; control < wanted.size(); ++control) {
    if (wanted[control] != sent[control]) {
      events.push_back(input::PadControlEvent{own, static_cast<input::PadControl>(control), wanted[control]});
      sent[control] = wanted[control];
    }
  }
}

}  // namespace voidskirmish::bot
