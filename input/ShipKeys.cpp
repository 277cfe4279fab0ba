#include "input/ShipKeys.h"

#include <algorithm>

namespace voidskirmish::input {
namespace {

// A player's keys in the order of their actions, so that a key of one player can be found among the other's.
constexpr std::array<int, 7> actionKeys(const PlayerKeys& k) {
  return {k.forward, k.backward, k.left, k.right, k.up, k.down, k.fire};
}

}  // namespace

bool isMatchKey(int key) {
  // A flight or fire key is one that becomes another key for one of the players.
  return key == keys::ENTER || key == keys::PAUSE || key == keys::BACKSPACE || ownShipKey(key, 0) != key ||
         ownShipKey(key, 1) != key;
}

int ownShipKey(int key, int player) {
  for (const PlayerKeys& ship : playerKeys) {
    const std::array<int, 7> actions = actionKeys(ship);
    const auto found = std::find(actions.begin(), actions.end(), key);
    if (found != actions.end()) {
      return actionKeys(playerKeys[static_cast<std::size_t>(player)])[static_cast<std::size_t>(found - actions.begin())];
    }
  }
  return key;
}

}  // namespace voidskirmish::input
