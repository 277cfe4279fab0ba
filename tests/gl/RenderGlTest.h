#pragma once

#include <glm/gtc/type_precision.hpp>

#include <memory>
#include <string>

#include "scene/GlName.h"
#include "scene/ShaderProgram.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {

// An off-screen RGBA8 frame buffer (with depth if asked), bound, filling the viewport and cleared to `clear`.
struct OffscreenTarget {
  OffscreenTarget(int width, int height, bool withDepth, const float (&clear)[4]);
  scene::GlFramebuffer framebuffer = scene::makeFramebuffer();
  scene::GlRenderbuffer colour = scene::makeRenderbuffer(), depth = scene::makeRenderbuffer();
};

// Base of the rendering tests: the GL debug output is on, and a test fails when its drawing made a GL error.
class RenderGlTest : public GlTest {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // One pixel of the frame buffer bound for reading.
  static glm::u8vec4 pixel(int x, int y);
  // A program from the game's own shader files.
  static std::unique_ptr<scene::ShaderProgram> loadProgram(const std::string& stem);

 private:
  unsigned int errorsBefore_ = 0;
};

}  // namespace voidskirmish::testing
