#pragma once

#include <memory>
#include <string>

#include "scene/ShaderProgram.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {

// Base of the rendering tests: the GL debug output is on, and a test fails when its drawing made a GL error.
class RenderGlTest : public GlTest {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A program from the game's own shader files.
  static std::unique_ptr<scene::ShaderProgram> loadProgram(const std::string& stem);

 private:
  unsigned int errorsBefore_ = 0;
};

}  // namespace voidskirmish::testing
