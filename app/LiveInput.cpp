#include "app/LiveInput.h"

#include <GLFW/glfw3.h>

#include <initializer_list>
#include <iostream>
#include <utility>

#include "input/EventText.h"
#include "input/Keys.h"

namespace voidskirmish::app {
namespace {

namespace keys = input::keys;

// GLFW's codes reach the game unchanged: the game's own names for them must have the same values.
constexpr bool sameCodes(std::initializer_list<std::pair<int, int>> pairs) {
  for (const auto& [own, glfw] : pairs) {
    if (own != glfw) {
      return false;
    }
  }
  return true;
}
static_assert(sameCodes({{keys::SPACE, GLFW_KEY_SPACE}, {keys::DIGIT_1, GLFW_KEY_1}, {keys::DIGIT_2, GLFW_KEY_2},
                         {keys::DIGIT_3, GLFW_KEY_3}, {keys::DIGIT_4, GLFW_KEY_4}, {keys::DIGIT_5, GLFW_KEY_5},
                         {keys::A, GLFW_KEY_A}, {keys::D, GLFW_KEY_D}, {keys::F, GLFW_KEY_F}, {keys::P, GLFW_KEY_P},
                         {keys::S, GLFW_KEY_S}, {keys::T, GLFW_KEY_T}, {keys::W, GLFW_KEY_W},
                         {keys::ESCAPE, GLFW_KEY_ESCAPE}, {keys::ENTER, GLFW_KEY_ENTER},
                         {keys::BACKSPACE, GLFW_KEY_BACKSPACE}, {keys::RIGHT, GLFW_KEY_RIGHT},
                         {keys::LEFT, GLFW_KEY_LEFT}, {keys::DOWN, GLFW_KEY_DOWN}, {keys::UP, GLFW_KEY_UP},
                         {keys::PAUSE, GLFW_KEY_PAUSE}, {keys::F1, GLFW_KEY_F1}, {keys::F2, GLFW_KEY_F2},
                         {keys::F3, GLFW_KEY_F3}, {keys::F4, GLFW_KEY_F4}, {keys::F5, GLFW_KEY_F5}, {keys::F9, GLFW_KEY_F9},
                         {keys::F8, GLFW_KEY_F8}, {keys::F10, GLFW_KEY_F10}, {keys::F12, GLFW_KEY_F12},
                         {keys::PERIOD, GLFW_KEY_PERIOD}, {keys::PAGE_UP, GLFW_KEY_PAGE_UP},
                         {keys::PAGE_DOWN, GLFW_KEY_PAGE_DOWN}, {keys::HOME, GLFW_KEY_HOME}, {keys::END, GLFW_KEY_END},
                         {keys::F11, GLFW_KEY_F11},
                         {keys::KP_0, GLFW_KEY_KP_0}, {keys::KP_4, GLFW_KEY_KP_4}, {keys::KP_8, GLFW_KEY_KP_8},
                         {keys::LAST, GLFW_KEY_LAST}, {keys::MOUSE_LEFT, GLFW_MOUSE_BUTTON_LEFT},
                         {keys::MOUSE_LAST, GLFW_MOUSE_BUTTON_LAST}, {keys::PRESS, GLFW_PRESS},
                         {keys::RELEASE, GLFW_RELEASE}, {keys::LAST_PAD, GLFW_JOYSTICK_LAST}}),
              "input/Keys.h must keep GLFW's values");

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
