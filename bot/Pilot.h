#pragma once

#include <array>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "bot/Skill.h"
#include "game/Match.h"
#include "input/Event.h"

namespace voidskirmish::bot {

// The computer flying one ship. Once a frame, before the frame runs, it looks at what that ship's player could
// know (its own ship, the enemy as last seen, the asteroids near it, the arena) and moves the ship's pad
// controls: it avoids asteroids first, then keeps inside the arena, dodges when the enemy has it in its sights,
// and otherwise turns onto the enemy, holds the fighting distance and fires. What it sends are pad events, only
// where a control changes; its chance comes from the match's own sequence for the computer.
class Pilot {
 public:
  Pilot(int ship, input::ComputerLevel level);

  // Appends this frame's pad events; `delta` is the time the frame is about to advance by.
  void decide(game::Match& match, float delta, std::vector<input::Event>& events);

  int ship() const { return own; }
  input::ComputerLevel level() const { return skillLevel; }

 private:
  struct Sticks {
    float thrust = 0.0f, yaw = 0.0f, pitch = 0.0f;
    bool fire = false;
  };

  void look(game::Match& match, float delta);
  Sticks fly(const game::Match& match);
  Sticks attack(const game::Match& match);
  void send(const Sticks& sticks, std::vector<input::Event>& events);

  int own;
  input::ComputerLevel skillLevel;
  const Skill& skill;
  // What it saw at its last look, and how long ago.
  float sinceLook;
  glm::vec3 seenPosition{0.0f};
  glm::vec3 seenVelocity{0.0f};
  glm::vec2 aimError{0.0f};
  float dodgeLeft = 0.0f;
  glm::vec2 dodge{0.0f};
  float sinceShot = 0.0f;
  std::array<float, 4> sent{};  // the pad's controls as last sent, in PadControl's order
};

}  // namespace voidskirmish::bot
