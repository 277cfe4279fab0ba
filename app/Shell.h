#pragma once

#include "app/Dialogue.h"

struct GLFWwindow;

namespace voidskirmish::app {

// Owns the window and the frame loop: opens the OpenGL window the player chose, hands every window event to
// the current game state and drives it frame by frame until ESC is held or the window is closed.
class Shell {
 public:
  explicit Shell(const WindowChoice& choice) : choice(choice) {}

  // Runs the game to its end and returns the process's exit code; start-up failures end the process.
  int run();

 private:
  void openWindow();
  void setUpGame();
  void runFrames();
  void tearDown();

  static constexpr const char* title = "Voidskirmish";

  WindowChoice choice;
  int refreshRate = 0;
  GLFWwindow* window = nullptr;
  bool glDebugOutput = false;  // errors are counted and reported at the end
};

}  // namespace voidskirmish::app
