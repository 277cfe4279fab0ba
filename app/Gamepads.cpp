#include "app/Gamepads.h"

#include <filesystem>
#include <iostream>
#include <sstream>

#include "scene/RegularFile.h"

namespace voidskirmish::app {
namespace {

// Why the file cannot be used; nothing when it can, and `text` holds it.
std::optional<std::string> whyNotUsed(const std::string& path, std::optional<std::string>& text) {
  if (std::optional<std::string> why = scene::whyNotRegularFile(path)) {
    return why;
  }
  std::error_code error;
  if (std::filesystem::file_size(path, error) > Gamepads::MAX_MAPPINGS_BYTES && !error) {
    return "larger than " + std::to_string(Gamepads::MAX_MAPPINGS_BYTES >> 20) + " MiB";
  }
  text = scene::readRegularFile(path, Gamepads::MAX_MAPPINGS_BYTES);
  if (!text) {
    return "cannot be opened";
  }
  std::istringstream lines(*text);
  long mappings = 0;
  for (std::string line; std::getline(lines, line);) {
    mappings += !line.empty() && line.front() != '#';
  }
  if (mappings > Gamepads::MAX_MAPPINGS) {
    return "more than " + std::to_string(Gamepads::MAX_MAPPINGS) + " mappings";
  }
  return std::nullopt;
}

}  // namespace

Gamepads::Gamepads(const std::array<input::PadButtons, 2>& buttons) : reader(std::cout, buttons) {
  const std::optional<std::string> mappings = readMappings(MAPPINGS_FILE, std::cerr);
  if (mappings && glfwUpdateGamepadMappings(mappings->c_str()) != GLFW_TRUE) {
    std::cerr << "Could not read the gamepad mappings in " << MAPPINGS_FILE << std::endl;
  }
}

std::optional<std::string> Gamepads::readMappings(const std::string& path, std::ostream& err) {
  if (!std::filesystem::exists(std::filesystem::symlink_status(path))) {
    return std::nullopt;
  }
  std::optional<std::string> text;
  if (const std::optional<std::string> why = whyNotUsed(path, text)) {
    err << "Gamepad mappings " << path << " not used: " << *why << std::endl;
    return std::nullopt;
  }
  return text;
}

void Gamepads::poll(std::vector<input::Event>& events) {
  // A slot without a joystick, or with one GLFW has no gamepad mapping for, reports no state.
  for (int pad = GLFW_JOYSTICK_1; pad <= GLFW_JOYSTICK_LAST; ++pad) {
    GLFWgamepadstate state;
    if (glfwGetGamepadState(pad, &state) == GLFW_TRUE) {
      reader.look(pad, &state, glfwGetGamepadName(pad), events);
    } else {
      reader.look(pad, nullptr, nullptr, events);
    }
  }
}

}  // namespace voidskirmish::app
