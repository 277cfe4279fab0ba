#include "tests/gl/RenderGlTest.h"

#include <cstdlib>

#include "render/GlDebug.h"

namespace voidskirmish::testing {

OffscreenTarget::OffscreenTarget(int width, int height, bool withDepth, const float (&clear)[4]) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
  glBindRenderbuffer(GL_RENDERBUFFER, colour.get());
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.get());
  if (withDepth) {
    glBindRenderbuffer(GL_RENDERBUFFER, depth.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth.get());
  }
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, width, height);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

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

glm::u8vec4 RenderGlTest::pixel(int x, int y) {
  glm::u8vec4 value;
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &value);
  return value;
}

std::unique_ptr<scene::ShaderProgram> RenderGlTest::loadProgram(const std::string& stem) {
  const std::string base = "Voidskirmish/Shader/" + stem;
  return std::make_unique<scene::ShaderProgram>(base + ".vert", base + ".frag");
}

}  // namespace voidskirmish::testing
