#pragma once

#include <memory>
#include <vector>

#include "app/Dialogue.h"
#include "app/LiveInput.h"
#include "game/GameState.h"
#include "input/Recording.h"
#include "input/RecordingWriter.h"

struct GLFWwindow;

namespace voidskirmish::app {

// Owns the window and the frame loop: opens the OpenGL window, builds the game state and runs it frame by
// frame. Every frame is the same road, live or replayed: that frame's events in order, then the update with
// the frame's delta, then drawing, then a screenshot when F12 was pressed.
class Shell {
 public:
  explicit Shell(const WindowChoice& choice) : choice(choice) {}
  ~Shell();

  // Live play until ESC is pressed or the window is closed; every frame also goes to `recorder` when given.
  // Returns the process's exit code; start-up failures end the process.
  int play(input::RecordingWriter* recorder);
  // Plays a recording back at its own pace until its end, a recorded ESC or a live ESC.
  int replay(const input::Recording& recording);

 private:
  void openWindow();
  void setUpGame();
  void runFrame(const std::vector<input::Event>& events, float delta);
  void steerWithCursor(std::vector<input::Event>& events);
  void resizeWindow(int width, int height);
  void saveScreenshot();
  bool escapeHeld() const;
  void tearDown();

  static constexpr const char* title = "Voidskirmish";

  WindowChoice choice;
  int refreshRate = 0;
  GLFWwindow* window = nullptr;
  bool glDebugOutput = false;  // errors are counted and reported at the end
  std::unique_ptr<game::GameState> state;
  std::unique_ptr<LiveInput> liveInput;
  long frameNumber = 0;
};

}  // namespace voidskirmish::app
