#pragma once

#include <vector>

#include "input/Event.h"
#include "input/KeyMap.h"

struct GLFWwindow;

namespace voidskirmish::app {

// Collects what the window reports during glfwPollEvents as events, in the order they came, so the frame loop
// hands live and recorded input to the game state the same way. The cursor is not collected: while it steers,
// the frame loop reads its position itself (X drops a move that lands where the last reported one did).
//
// A window made larger than input::MAX_WINDOW_SIDE a side (without a window manager that keeps the window's
// limits nothing stops that) is put back to its last usable size, once said so on standard error: beyond it
// the software rasteriser crashes and a recording could not be replayed. Its size is no event.
//
// Keys the players bound come out as the game's own keys (see input::KeyMap).
class LiveInput {
 public:
  LiveInput(GLFWwindow* window, const input::KeyMap& keyMap);
  LiveInput(const LiveInput&) = delete;
  LiveInput& operator=(const LiveInput&) = delete;

  // Polls the window; returns the events that arrived since the last call.
  std::vector<input::Event>& poll();
  // The same, waiting up to `seconds` for the first event.
  std::vector<input::Event>& wait(double seconds);

 private:
  static void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
  static void onMouseButton(GLFWwindow* window, int button, int action, int mods);
  static void onWindowSize(GLFWwindow* window, int width, int height);

  std::vector<input::Event> events;
  const input::KeyMap keyMap;
  int usableWidth = 0;
  int usableHeight = 0;
  bool toldTooLarge = false;
};

}  // namespace voidskirmish::app
