#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "render/GlDebug.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {
namespace {

using GlDebugTest = GlTest;

// A stage that does not compile or link ends the game with the driver's log after its line: every shader file
// damaged in tests/e2e/test_robustness.py. Here the debug output that counts GL errors for the tests and the soak.
TEST_F(GlDebugTest, OutputCountsEveryErrorAndPrintsEachMessageOnce) {
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
