#pragma once

#include <optional>

#include "input/Recording.h"
#include "replay/Seeker.h"

namespace voidskirmish::replay {

// The snapshot section of a recording that begins in the middle of a match. Version 1: one byte, 1 when the
// window was minimised then, else 0, followed by the play as game::SnapshotCoding writes it.
constexpr int START_SECTION_VERSION = 1;

input::SnapshotSection startSection(const Seeker::Position& start);

// Where `recording` starts: nothing for one that starts with its match. A damaged or newer section is refused
// with input::BadRecording naming the line of the value that is wrong.
std::optional<Seeker::Position> recordedStart(const input::Recording& recording);

}  // namespace voidskirmish::replay
