#include "app/LiveInput.h"

#include <GLFW/glfw3.h>

#include <iostream>

#include "input/EventText.h"

namespace voidskirmish::app {
namespace {

LiveInput& liveInputOf(GLFWwindow* window) { return *static_cast<LiveInput*>(glfwGetWindowUserPointer(window)); }

}  // namespace

LiveInput::LiveInput(GLFWwindow* window) {
  events.reserve(64);
  glfwGetWindowSize(window, &usableWidth, &usableHeight);
  glfwSetWindowUserPointer(window, this);
  glfwSetKeyCallback(window, onKey);
  glfwSetMouseButtonCallback(window, onMouseButton);
  glfwSetWindowSizeCallback(window, onWindowSize);
}

std::vector<input::Event>& LiveInput::poll() {
  events.clear();
  glfwPollEvents();
  return events;
}

std::vector<input::Event>& LiveInput::wait(double seconds) {
  events.clear();
  glfwWaitEventsTimeout(seconds);
  return events;
}

void LiveInput::onKey(GLFWwindow* window, int key, int, int action, int) {
  // Keys X cannot name do nothing in the game, and repeats are not presses.
  if (key == GLFW_KEY_UNKNOWN || action == GLFW_REPEAT) {
    return;
  }
  liveInputOf(window).events.push_back(input::KeyEvent{key, action == GLFW_PRESS});
}

void LiveInput::onMouseButton(GLFWwindow* window, int button, int action, int) {
  liveInputOf(window).events.push_back(input::ButtonEvent{button, action == GLFW_PRESS});
}

void LiveInput::onWindowSize(GLFWwindow* window, int width, int height) {
  LiveInput& live = liveInputOf(window);
  if (width > input::MAX_WINDOW_SIDE || height > input::MAX_WINDOW_SIDE) {
    if (!live.toldTooLarge) {
      std::cerr << "The window cannot be larger than " << input::MAX_WINDOW_SIDE << " pixels a side; keeping "
                << live.usableWidth << " x " << live.usableHeight << std::endl;
      live.toldTooLarge = true;
    }
    glfwSetWindowSize(window, live.usableWidth, live.usableHeight);
    return;
  }
  // A minimised window's zero size is no size to go back to.
  if (width > 0 && height > 0) {
    live.usableWidth = width;
    live.usableHeight = height;
  }
  live.events.push_back(input::SizeEvent{width, height});
}

}  // namespace voidskirmish::app
