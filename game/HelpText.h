#pragma once

#include <array>
#include <string>

#include "input/ShipKeys.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// The controls, with the keys the players bound, and the current values of the switches, printed at the end of
// the match set-up and on F1.
std::string helpText(const scene::RenderSettings& settings,
                     const std::array<input::PlayerKeys, 2>& keys = input::playerKeys);

}  // namespace voidskirmish::game
