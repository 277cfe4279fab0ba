#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <vector>

namespace voidskirmish::testing {

// Base of every test that needs a real OpenGL 4.3 core context: one hidden window per test process, made
// current before the first such test runs and kept until the process ends. Death tests re-run the binary
// ("threadsafe" style), so a child gets a context of its own instead of a forked copy of the parent's.
class GlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static GLFWwindow* window();

  // Reads back the RGBA pixels of the frame buffer bound for reading, bottom row first.
  static std::vector<unsigned char> readPixels(int width, int height);
};

}  // namespace voidskirmish::testing
