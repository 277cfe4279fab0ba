#include "app/Shell.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>
#include <memory>

#include "app/Fatal.h"
#include "game/RunningGameState.h"
#include "render/GlDebug.h"

namespace voidskirmish::app {
namespace {

// The callbacks and the loop read it anew at every use, so a state switch between frames takes effect at once.
// GLFW delivers events only inside glfwPollEvents, which runs only while a state is current.
std::unique_ptr<game::GameState> currentGameState;

void onKey(GLFWwindow*, int key, int, int action, int) {
  if (action == GLFW_PRESS) {
    currentGameState->keyPressed(key);
  } else if (action == GLFW_RELEASE) {
    currentGameState->keyReleased(key);
  }
}

void onCursorMoved(GLFWwindow*, double x, double y) { currentGameState->cursorMoved(x, y); }

void onMouseButton(GLFWwindow*, int button, int action, int) { currentGameState->mouseButton(button, action); }

void onWindowSize(GLFWwindow*, int width, int height) { currentGameState->resize(width, height); }

// GLFW aborts on a negative side instead of refusing it, and a full-screen side near X's 16-bit limit crashes
// Mesa's software rasteriser inside glfwCreateWindow (32767 × 32767 already does). GL 4.3 promises frame buffers
// only up to this side, so a larger window could not be drawn anyway.
constexpr int largestWindowSide = 16384;

bool windowCanHaveSide(int side) { return side > 0 && side <= largestWindowSide; }

// GLFW says why it failed (no display, no GLX, no OpenGL 4.3) only through this callback; the game's own message
// follows on standard output.
void onGlfwError(int, const char* description) { std::cerr << "GLFW: " << description << std::endl; }

[[noreturn]] void failToOpenWindow() {
  glfwTerminate();
  fatalExit(std::cout, "Failed to open window", 1);
}

}  // namespace

int Shell::run() {
  openWindow();
  setUpGame();
  runFrames();
  tearDown();
  return 0;
}

void Shell::openWindow() {
  refreshRate = 60;
  glfwSetErrorCallback(onGlfwError);
  if (!glfwInit()) {
    fatalExit(std::cout, "Failed to init glfw", -1);
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
  GLFWmonitor* monitor = nullptr;
  if (choice.fullscreen) {
    monitor = glfwGetPrimaryMonitor();
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
  }
  if (!windowCanHaveSide(choice.width) || !windowCanHaveSide(choice.height)) {
    std::cerr << "A window side must be between 1 and " << largestWindowSide << " pixels" << std::endl;
    failToOpenWindow();
  }
  window = glfwCreateWindow(choice.width, choice.height, title, monitor, nullptr);
  if (window == nullptr) {
    failToOpenWindow();
  }
  glfwMakeContextCurrent(window);
  glewExperimental = GL_TRUE;
  if (glewInit() != GLEW_OK) {
    fatalExit(std::cout, "Failed to initialize glew", 1);
  }
  glDebugOutput = render::installGlDebugOutput();
}

void Shell::setUpGame() {
  glfwSetWindowTitle(window, title);
  glfwSetKeyCallback(window, onKey);
  glfwSetCursorPosCallback(window, onCursorMoved);
  glfwSetMouseButtonCallback(window, onMouseButton);
  glfwSetWindowSizeCallback(window, onWindowSize);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  currentGameState = std::make_unique<game::RunningGameState>(window);
  currentGameState->resize(choice.width, choice.height);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void Shell::runFrames() {
  // Read after set-up, so the first frame's delta does not count the loading time.
  double previousTime = glfwGetTime();
  while (!glfwWindowShouldClose(window)) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double now = glfwGetTime();
    const double delta = now - previousTime;
    previousTime = now;
    glfwPollEvents();
    const bool escapeHeld = glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_RELEASE;
    currentGameState->update(static_cast<float>(delta));
    currentGameState->render();
    glfwSwapBuffers(window);
    // The frame in which ESC is seen is still shown.
    if (escapeHeld) {
      break;
    }
  }
}

void Shell::tearDown() {
  currentGameState.reset();
  if (glDebugOutput) {
    std::cerr << "GL errors: " << render::glErrorCount() << std::endl;
  }
  glfwTerminate();
}

}  // namespace voidskirmish::app
