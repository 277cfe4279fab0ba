#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "render/GlDebug.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::render {
namespace {

class GlDebugTest : public testing::GlTest {};

TEST_F(GlDebugTest, CountsEveryErrorAndPrintsEachMessageOnce) {
  setenv("VOIDSKIRMISH_GL_DEBUG", "1", 1);
  ASSERT_TRUE(installGlDebugOutput());
  const unsigned int before = glErrorCount();
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) {
    glEnable(0x7fff);  // no such capability
  }
  const std::string printed = ::testing::internal::GetCapturedStderr();
  glGetError();  // the debug output does not consume the error flag
  EXPECT_EQ(glErrorCount(), before + 3);
  EXPECT_EQ(printed.rfind("GL error: ", 0), 0u) << printed;
  EXPECT_EQ(printed.find("GL error: ", 1), std::string::npos) << printed;
}

}  // namespace
}  // namespace voidskirmish::render
