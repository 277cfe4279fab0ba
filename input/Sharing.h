#pragma once

#include <optional>

#include "input/Event.h"

namespace voidskirmish::input {

// Whether an event changes the match for `player`'s ship alone, or for both alike: that ship's flight and fire
// keys, ENTER, pause, its gamepad and its mouse steering. A network match plays these on both machines and takes
// from each machine only those of the ship it flies; everything else (window sizes, render toggles, help, P, F12,
// ESC, cursor positions) stays on the machine where it happened.
bool isOwnShipEvent(const Event& event, int player);

// A match event as the machine flying `player`'s ship shares it: either key set and the left mouse button fly and
// fire the own ship, and the machine's first gamepad is the own ship's. Nothing for a local event or another pad.
std::optional<Event> ownShipEvent(const Event& event, int player);

}  // namespace voidskirmish::input
