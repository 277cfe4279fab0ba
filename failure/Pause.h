#pragma once

namespace voidskirmish::failure {

// Stands in for the console's "press any key" after a fatal message: waits for one key only when a person is
// at the terminal, so scripted runs and CI never hang.
void pauseForKey();

}  // namespace voidskirmish::failure
