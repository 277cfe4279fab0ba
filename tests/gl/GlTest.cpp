#include "tests/gl/GlTest.h"

#include <cstdlib>

#include "render/GlDebug.h"

namespace voidskirmish::testing {
namespace {

GLFWwindow* sharedWindow = nullptr;

}  // namespace

OffscreenTarget::OffscreenTarget(int width, int height, const float (&clear)[4]) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
  glBindRenderbuffer(GL_RENDERBUFFER, colour.get());
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.get());
  glBindRenderbuffer(GL_RENDERBUFFER, depth.get());
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth.get());
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, width, height);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Picture::Picture(int width, int height, int x, int y) : width(width), pixels(static_cast<size_t>(width) * height) {
  glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

void GlTest::SetUpTestSuite() {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // here, once googletest has read its flags
  if (sharedWindow != nullptr) {
    return;
  }
  ASSERT_TRUE(glfwInit()) << "no display: run the GL tests under Xvfb";
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  sharedWindow = glfwCreateWindow(64, 64, "gl-test", nullptr, nullptr);
  ASSERT_NE(sharedWindow, nullptr) << "could not create an OpenGL 4.3 core context";
  glfwMakeContextCurrent(sharedWindow);
  glewExperimental = GL_TRUE;
  ASSERT_EQ(glewInit(), GLEW_OK);
  glGetError();  // GLEW's probing may leave an error behind
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  setenv("VOIDSKIRMISH_GL_DEBUG", "1", 1);
  ASSERT_TRUE(render::installGlDebugOutput());
}

void GlTest::SetUp() { errorsBefore = render::glErrorCount(); }

void GlTest::TearDown() {
  EXPECT_EQ(render::glErrorCount(), errorsBefore) << "the drawing made GL errors (see stderr)";
  // Leave the shared context as the next test expects it.
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glUseProgram(0);
}

std::unique_ptr<scene::ShaderProgram> GlTest::loadProgram(const std::string& stem) {
  const std::string base = "Voidskirmish/Shader/" + stem;
  return std::make_unique<scene::ShaderProgram>(base + ".vert", base + ".frag");
}

}  // namespace voidskirmish::testing
