#include "app/Gamepads.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace voidskirmish::app {

Gamepads::Gamepads() : reader(std::cout) {
  std::ifstream file(MAPPINGS_FILE, std::ios::binary);
  if (!file) {
    return;
  }
  const std::string mappings{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (glfwUpdateGamepadMappings(mappings.c_str()) != GLFW_TRUE) {
    std::cerr << "Could not read the gamepad mappings in " << MAPPINGS_FILE << std::endl;
  }
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
