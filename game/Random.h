#pragma once

#include <cstdint>

namespace voidskirmish::game {

constexpr int RANDOM_MAX = 32767;

// The one unseeded sequence shared by the asteroid field and the particle bursts: integers 0 to 32767, the same on
// every run and every platform.
int randomNumber();

// Starts the sequence over, as at program start.
void restartRandomSequence();

// Where the sequence stands, so two machines playing one match can check that they drew the same numbers.
std::uint32_t randomState();

}  // namespace voidskirmish::game
