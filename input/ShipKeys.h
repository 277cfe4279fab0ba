#pragma once

#include <array>

#include "input/Keys.h"

namespace voidskirmish::input {

// Each ship's flight and fire keys.
struct PlayerKeys {
  int forward, backward, left, right, up, down, fire;

  bool operator==(const PlayerKeys& other) const;
};

constexpr std::size_t ACTION_COUNT = 7;

// The game's own keys, which events carry whatever keys a player has bound: a bound key is turned into its
// action's key here as it comes in, so recordings, replays and the other machine of a network match all read
// the same keys.
constexpr std::array<PlayerKeys, 2> playerKeys{{
    {keys::W, keys::S, keys::A, keys::D, keys::F, keys::T, keys::SPACE},
    {keys::UP, keys::DOWN, keys::LEFT, keys::RIGHT, keys::KP_4, keys::KP_8, keys::KP_0},
}};

// A player's keys in the order of their actions: forward, back, left, right, up, down, fire.
constexpr std::array<int, ACTION_COUNT> actionKeys(const PlayerKeys& k) {
  return {k.forward, k.backward, k.left, k.right, k.up, k.down, k.fire};
}
constexpr std::array<const char*, ACTION_COUNT> ACTION_NAMES{"forward", "back", "left", "right", "up", "down",
                                                             "fire"};

// The gamepad buttons (GLFW's codes) that thrust a ship forward and back and fire, besides the triggers and the
// right bumper, which always do.
struct PadButtons {
  int forward = 0, backward = 1, fire = 2;  // A, B, X

  bool operator==(const PadButtons& other) const {
    return forward == other.forward && backward == other.backward && fire == other.fire;
  }
};

// Keys that change the match, which a network match plays on both machines: flight and fire of both ships,
// ENTER and the pause keys. The rest (toggles, help, P, ESC) only concern the machine they are pressed on.
bool isMatchKey(int key);

// In a network match either key set flies the machine's own ship: a flight or fire key of either ship becomes
// the key of the same action for `player`. Other keys stay as they are.
int ownShipKey(int key, int player);

}  // namespace voidskirmish::input
