#pragma once

namespace voidskirmish::app {

// Stands in for the console's "press any key" after a fatal message: waits for one key only when a person is
// at the terminal, so scripted runs and CI never hang.
void pauseForKey();

}  // namespace voidskirmish::app
