#include "app/LiveInput.h"

#include <GLFW/glfw3.h>

namespace voidskirmish::app {
namespace {

std::vector<input::Event>& eventsOf(GLFWwindow* window) {
  return *static_cast<std::vector<input::Event>*>(glfwGetWindowUserPointer(window));
}

}  // namespace

LiveInput::LiveInput(GLFWwindow* window) {
  events.reserve(64);
  glfwSetWindowUserPointer(window, &events);
  glfwSetKeyCallback(window, onKey);
  glfwSetMouseButtonCallback(window, onMouseButton);
  glfwSetWindowSizeCallback(window, onWindowSize);
}

std::vector<input::Event>& LiveInput::poll() {
  events.clear();
  glfwPollEvents();
  return events;
}

void LiveInput::onKey(GLFWwindow* window, int key, int, int action, int) {
  // Keys X cannot name do nothing in the game, and repeats are not presses.
  if (key == GLFW_KEY_UNKNOWN || action == GLFW_REPEAT) {
    return;
  }
  eventsOf(window).push_back(input::KeyEvent{key, action == GLFW_PRESS});
}

void LiveInput::onMouseButton(GLFWwindow* window, int button, int action, int) {
  eventsOf(window).push_back(input::ButtonEvent{button, action == GLFW_PRESS});
}

void LiveInput::onWindowSize(GLFWwindow* window, int width, int height) {
  eventsOf(window).push_back(input::SizeEvent{width, height});
}

}  // namespace voidskirmish::app
