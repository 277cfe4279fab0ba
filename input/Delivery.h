#pragma once

#include "game/GameState.h"
#include "input/Event.h"

namespace voidskirmish::input {

// Hands one event to the game state through the operation live input uses.
void deliver(const Event& event, game::GameState& state);

// ESC being pressed: the event that ends a game, live or replayed.
bool isEscapePress(const Event& event);

}  // namespace voidskirmish::input
