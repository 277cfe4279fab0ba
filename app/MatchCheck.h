#pragma once

#include <cstdint>

#include "game/Match.h"

namespace voidskirmish::app {

// The hash --net-check prints: both ships' poses, speeds and life points, the live particles and the random
// generator's state. Two machines playing one match, and the replays of their recordings, print the same.
std::uint64_t matchHash(const game::Match& match);

// The hash of the run-time files a Hello carries; a file that cannot be read ends the game as a loading failure.
std::uint64_t runTimeFilesHash();

}  // namespace voidskirmish::app
