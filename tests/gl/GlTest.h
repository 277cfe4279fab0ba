#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/gtc/type_precision.hpp>

#include <memory>
#include <string>
#include <vector>

#include "scene/GlName.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::testing {

// An off-screen RGBA8 + depth frame buffer, bound, filling the viewport and cleared to `clear`.
struct OffscreenTarget {
  OffscreenTarget(int width, int height, const float (&clear)[4]);
  scene::GlFramebuffer framebuffer = scene::makeFramebuffer();
  scene::GlRenderbuffer colour = scene::makeRenderbuffer(), depth = scene::makeRenderbuffer();
};

// The RGBA pixels of a rectangle of the frame buffer bound for reading, from its lower left corner (x, y).
struct Picture {
  Picture(int width, int height, int x = 0, int y = 0);
  glm::u8vec4 at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int width;
  std::vector<glm::u8vec4> pixels;
};

// Base of every test that needs a real OpenGL 4.3 core context: one hidden 64 × 64 window per test process, made
// current before the first such test runs and kept until the process ends, with the GL debug output on. A test
// fails when it made a GL error. Death tests re-run the binary ("threadsafe" style), so a child gets a context
// of its own instead of a forked copy of the parent's.
class GlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  static glm::u8vec4 pixel(int x, int y) { return Picture(1, 1, x, y).pixels[0]; }
  // A program from the game's own shader files.
  static std::unique_ptr<scene::ShaderProgram> loadProgram(const std::string& stem);

  unsigned int errorsBefore = 0;
};

}  // namespace voidskirmish::testing
