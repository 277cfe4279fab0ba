#pragma once

#include <optional>
#include <ostream>

#include "game/Play.h"

namespace voidskirmish::app {

// Where the windowed game applies the out-of-bounds rules and prints the culling line, for a play without a
// window: a local match in the scene pass of each drawn half (none while minimised), the upper half's line after
// its rules; a network match once a frame for both ships, drawn or not, after the one view it draws.
void applyHalfRules(game::Play& play, std::optional<int> networkPlayer, bool minimised, std::ostream& console);

}  // namespace voidskirmish::app
