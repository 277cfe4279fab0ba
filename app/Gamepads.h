#pragma once

#include <vector>

#include "input/Event.h"
#include "input/PadReader.h"

namespace voidskirmish::app {

// The gamepads on this machine, looked at through GLFW once a frame; what they do becomes events for the frame.
class Gamepads {
 public:
  // Adds the mappings of a gamecontrollerdb.txt in the working directory, when there is one, to GLFW's own.
  // GLFW must be initialised.
  Gamepads();

  // Appends what the pads did since the last call: connections, disconnections and control changes.
  void poll(std::vector<input::Event>& events);

  static constexpr const char* MAPPINGS_FILE = "gamecontrollerdb.txt";

 private:
  input::PadReader reader;
};

}  // namespace voidskirmish::app
