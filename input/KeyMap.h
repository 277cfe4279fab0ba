#pragma once

#include <array>
#include <optional>

#include "input/Keys.h"
#include "input/ShipKeys.h"

namespace voidskirmish::input {

// Turns the keys a machine's players bound into the game's own keys (playerKeys) as they come in. A game key
// that no longer flies anything is dropped, and a key bound to an action no longer does what it did before.
class KeyMap {
 public:
  explicit KeyMap(const std::array<PlayerKeys, 2>& bound = playerKeys);

  // The game's key for a pressed key, or nothing when the key is to be dropped.
  std::optional<int> gameKey(int key) const;

 private:
  static constexpr int DROPPED = -1;
  std::array<int, keys::LAST + 1> keyFor{};
};

}  // namespace voidskirmish::input
