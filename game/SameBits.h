#pragma once

#include <cstring>
#include <vector>

namespace voidskirmish::game {

// Saved state compares by its bits: -0 and 0 differ, a NaN equals itself. Only for types without padding.
template <typename T>
bool sameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

}  // namespace voidskirmish::game
