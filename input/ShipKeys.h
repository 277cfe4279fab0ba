#pragma once

#include <array>

#include "input/Keys.h"

namespace voidskirmish::input {

// Each ship's flight and fire keys.
struct PlayerKeys {
  int forward, backward, left, right, up, down, fire;
};

constexpr std::array<PlayerKeys, 2> playerKeys{{
    {keys::W, keys::S, keys::A, keys::D, keys::F, keys::T, keys::SPACE},
    {keys::UP, keys::DOWN, keys::LEFT, keys::RIGHT, keys::KP_4, keys::KP_8, keys::KP_0},
}};

// Keys that change the match, which a network match plays on both machines: flight and fire of both ships,
// ENTER and the pause keys. The rest (toggles, help, P, ESC) only concern the machine they are pressed on.
bool isMatchKey(int key);

// In a network match either key set flies the machine's own ship: a flight or fire key of either ship becomes
// the key of the same action for `player`. Other keys stay as they are.
int ownShipKey(int key, int player);

}  // namespace voidskirmish::input
