#include "game/Random.h"

#include <cstdint>

namespace voidskirmish::game {

namespace {

// The portable generator of the C standard's example: the same numbers on every platform and every run, which
// the layout of the asteroid field depends on. Only the low 32 bits of the state reach the result.
constexpr std::uint32_t START = 1;
std::uint32_t state = START;

}  // namespace

int randomNumber() {
  state = state * 1103515245u + 12345u;
  return static_cast<int>((state / 65536u) % 32768u);
}

void restartRandomSequence() { state = START; }

std::uint32_t randomState() { return state; }

}  // namespace voidskirmish::game
