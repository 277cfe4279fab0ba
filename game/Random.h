#pragma once

#include <cstdint>

namespace voidskirmish::game {

constexpr int RANDOM_MAX = 32767;

// The match's one unseeded sequence, shared by the asteroid field and the particle bursts: integers 0 to 32767,
// the same on every run and every platform. The portable generator of the C standard's example; only the low 32
// bits of the state reach the result. A plain value, so a saved match carries where its sequence stands.
class Random {
 public:
  int next() {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state / 65536u) % 32768u);
  }
  // 0 to 1.
  float unit() { return static_cast<float>(next() / static_cast<double>(RANDOM_MAX)); }

  std::uint32_t state = 1;
};

}  // namespace voidskirmish::game
