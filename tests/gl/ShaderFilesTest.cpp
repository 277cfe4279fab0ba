#include <GL/glew.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "render/GlDebug.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {
namespace {

using ShaderFilesTest = GlTest;

// A stage that does not compile, and stages that compile but do not link, end the program with the game's line
// and the driver's log after it.
TEST_F(ShaderFilesTest, CompileAndLinkErrorsEndTheProgramWithTheDriversLog) {
  const std::string syntax = ::testing::TempDir() + "syntax.frag", unfed = ::testing::TempDir() + "unfed.frag";
  std::ofstream(syntax) << "#version 430 core\nout vec4 color;\nvoid main() { color = vec4(1.0) }\n";
  std::ofstream(unfed) << "#version 430 core\nin vec3 neverWritten;\nout vec4 color;\n"
                          "void main() { color = vec4(neverWritten, 1.0); }\n";
  for (const auto& [fragment, message] : {std::pair{syntax, "(^|\n) Failed to compile shader\n.*[^\n]"},
                                          std::pair{unfed, "(^|\n)Failed to link shader program\n.*[^\n]"}}) {
    EXPECT_EXIT(scene::ShaderProgram("Voidskirmish/Shader/drawColor.vert", fragment), ::testing::ExitedWithCode(1),
                message) << fragment;
  }
}

TEST_F(ShaderFilesTest, GlDebugOutputCountsEveryErrorAndPrintsEachMessageOnce) {
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) {
    glEnable(0x7fff);  // no such capability
  }
  const std::string printed = ::testing::internal::GetCapturedStderr();
  glGetError();  // the debug output does not consume the error flag
  EXPECT_EQ(render::glErrorCount(), errorsBefore + 3);
  EXPECT_EQ(printed.rfind("GL error: ", 0), 0u) << printed;
  EXPECT_EQ(printed.find("GL error: ", 1), std::string::npos) << printed;
  errorsBefore = render::glErrorCount();  // these errors were made on purpose
}

}  // namespace
}  // namespace voidskirmish::testing
