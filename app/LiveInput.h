#pragma once

#include <vector>

#include "input/Event.h"

struct GLFWwindow;

namespace voidskirmish::app {

// Collects what the window reports during glfwPollEvents as events, in the order they came, so the frame loop
// hands live and recorded input to the game state the same way. The cursor is not collected: while it steers,
// the frame loop reads its position itself (X drops a move that lands where the last reported one did).
class LiveInput {
 public:
  explicit LiveInput(GLFWwindow* window);
  LiveInput(const LiveInput&) = delete;
  LiveInput& operator=(const LiveInput&) = delete;

  // Polls the window; returns the events that arrived since the last call.
  std::vector<input::Event>& poll();

 private:
  static void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
  static void onMouseButton(GLFWwindow* window, int button, int action, int mods);
  static void onWindowSize(GLFWwindow* window, int width, int height);

  std::vector<input::Event> events;
};

}  // namespace voidskirmish::app
