#include "game/RunningGameState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace voidskirmish::game {

RunningGameState::RunningGameState(GLFWwindow* window) : GameState(window) { init(); }

void RunningGameState::init() { glfwGetWindowSize(window, &width, &height); }

void RunningGameState::update(float) {}

void RunningGameState::render() {
  static const GLfloat deepSpace[] = {0.05f, 0.08f, 0.25f, 1.0f};
  glClearBufferfv(GL_COLOR, 0, deepSpace);
}

void RunningGameState::keyPressed(int) {}

void RunningGameState::keyReleased(int) {}

void RunningGameState::cursorMoved(double, double) {}

void RunningGameState::mouseButton(int, int) {}

void RunningGameState::resize(int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  glViewport(0, 0, width, height);
}

}  // namespace voidskirmish::game
