#include "bench/BenchWindow.h"

#include <filesystem>

namespace voidskirmish {

BenchWindow::BenchWindow(int width, int height, const char* title) {
  if (!std::filesystem::is_directory("Voidskirmish/Shader")) {
    problem = "shader files not found: run from the repository root";
    return;
  }
  if (!glfwInit()) {
    problem = "no display: run under Xvfb";
    return;
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  window = glfwCreateWindow(width, height, title, nullptr, nullptr);
  if (window == nullptr) {
    problem = "could not create an OpenGL 4.3 core context";
    return;
  }
  glfwMakeContextCurrent(window);
  glewExperimental = GL_TRUE;
  if (glewInit() != GLEW_OK) {
    problem = "could not load the OpenGL functions";
  }
}

bool BenchWindow::makeCurrent(benchmark::State& state) const {
  if (problem != nullptr) {
    state.SkipWithError(problem);
    return false;
  }
  glfwMakeContextCurrent(window);
  return true;
}

void BenchWindow::present() const {
  glfwSwapBuffers(window);
  glFinish();
}

void BenchWindow::presentEmptyFrame() const {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  present();
}

void timeGlWork(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

}  // namespace voidskirmish
