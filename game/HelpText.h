#pragma once

#include <string>

#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// The controls and the current values of the switches, printed at the end of the match set-up and on F1.
std::string helpText(const scene::RenderSettings& settings);

}  // namespace voidskirmish::game
