#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "input/Event.h"
#include "app/PadReader.h"

namespace voidskirmish::app {

// The gamepads on this machine, looked at through GLFW once a frame; what they do becomes events for the frame.
class Gamepads {
 public:
  // Adds the mappings of a gamecontrollerdb.txt in the working directory, when there is one, to GLFW's own.
  // GLFW must be initialised.
  explicit Gamepads(const std::array<input::PadButtons, 2>& buttons);

  // Appends what the pads did since the last call: connections, disconnections and control changes.
  void poll(std::vector<input::Event>& events);

  static constexpr const char* MAPPINGS_FILE = "gamecontrollerdb.txt";
  // GLFW merges mappings in quadratic time, with ESC dead meanwhile: 5000 take about half a second here. SDL's
  // whole community file is well within both limits.
  static constexpr std::uintmax_t MAX_MAPPINGS_BYTES = 2u << 20;
  static constexpr long MAX_MAPPINGS = 5000;

  // The text of a mappings file that is a regular file within the limits. Else nothing, and unless there is
  // no such file (the usual case) a line on `err` saying why the file is not used.
  static std::optional<std::string> readMappings(const std::string& path, std::ostream& err);

 private:
  app::PadReader reader;
};

}  // namespace voidskirmish::app
