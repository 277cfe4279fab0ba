#pragma once

#include "input/StartSwitches.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// Every start switch as the render settings and mouse steering hold it.
input::StartSwitches switchesOf(const scene::RenderSettings& settings, bool mouseSteering);
// Sets the render settings and mouse steering to the switches that are set; the others stay.
void applySwitches(const input::StartSwitches& switches, scene::RenderSettings& settings, bool& mouseSteering);

}  // namespace voidskirmish::game
