#pragma once

#include "input/Event.h"

namespace voidskirmish::bot {

// How well the computer flies at one level. The levels differ in how often it looks at the enemy, how well it
// aims, how freely it fires and how it dodges; they all fly the same ship through the same pad controls, so none
// turns, flies or fires faster than a player can.
struct Skill {
  float reaction;      // seconds between two looks at the enemy; between them it flies on what it saw
  float aimError;      // radians: the largest aim error, drawn anew at each look, on either axis
  float fireSlack;     // radians beyond the target's own size within which it pulls the trigger
  float fireInterval;  // seconds from one trigger press to the next, at least (a quick thumb)
  float evasion;       // chance, at each look while in the enemy's sights, to start a dodge
  bool checksCover;    // holds fire while an asteroid stands in the line of fire
};

const Skill& skillOf(input::ComputerLevel level);

}  // namespace voidskirmish::bot
