#pragma once

#include <optional>

#include "input/Event.h"

namespace voidskirmish::input {

// Whether an event changes the match: flight and fire keys, ENTER, pause, gamepads and mouse steering. A
// network match plays these on both machines; everything else (window sizes, render toggles, help, P, F12, ESC,
// cursor positions) stays on the machine where it happened.
bool isMatchEvent(const Event& event);

// A match event as the machine flying `player`'s ship shares it: either key set and the left mouse button fly and
// fire the own ship, and the machine's first gamepad is the own ship's. Nothing for a local event or another pad.
std::optional<Event> ownShipEvent(const Event& event, int player);

}  // namespace voidskirmish::input
