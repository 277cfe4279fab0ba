#include "tests/gl/RenderGlTest.h"

#include <cstdlib>

#include "render/GlDebug.h"

namespace voidskirmish::testing {

void RenderGlTest::SetUpTestSuite() {
  GlTest::SetUpTestSuite();
  setenv("VOIDSKIRMISH_GL_DEBUG", "1", 1);
  ASSERT_TRUE(render::installGlDebugOutput());
}

void RenderGlTest::SetUp() { errorsBefore_ = render::glErrorCount(); }

void RenderGlTest::TearDown() {
  EXPECT_EQ(render::glErrorCount(), errorsBefore_) << "the drawing made GL errors (see stderr)";
  // Leave the shared context as the next test expects it.
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
}

std::unique_ptr<scene::ShaderProgram> RenderGlTest::loadProgram(const std::string& stem) {
  const std::string base = "Voidskirmish/Shader/" + stem;
  return std::make_unique<scene::ShaderProgram>(base + ".vert", base + ".frag");
}

}  // namespace voidskirmish::testing
