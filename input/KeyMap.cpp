#include "input/KeyMap.h"

namespace voidskirmish::input {

KeyMap::KeyMap(const std::array<PlayerKeys, 2>& bound) {
  for (int key = 0; key <= keys::LAST; ++key) {
    keyFor[static_cast<std::size_t>(key)] = key;
  }
  for (const PlayerKeys& own : playerKeys) {
    for (const int key : actionKeys(own)) {
      keyFor[static_cast<std::size_t>(key)] = DROPPED;
    }
  }
  for (std::size_t player = 0; player < 2; ++player) {
    const std::array<int, ACTION_COUNT> chosen = actionKeys(bound[player]);
    const std::array<int, ACTION_COUNT> own = actionKeys(playerKeys[player]);
    for (std::size_t action = 0; action < ACTION_COUNT; ++action) {
      keyFor[static_cast<std::size_t>(chosen[action])] = own[action];
    }
  }
}

std::optional<int> KeyMap::gameKey(int key) const {
  if (key < 0 || key > keys::LAST) {
    return key;
  }
  const int mapped = keyFor[static_cast<std::size_t>(key)];
  return mapped == DROPPED ? std::nullopt : std::optional<int>(mapped);
}

}  // namespace voidskirmish::input
