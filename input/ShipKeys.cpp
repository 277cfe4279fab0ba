#include "input/ShipKeys.h"

#include <algorithm>

namespace voidskirmish::input {
bool PlayerKeys::operator==(const PlayerKeys& other) const { return actionKeys(*this) == actionKeys(other); }

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
