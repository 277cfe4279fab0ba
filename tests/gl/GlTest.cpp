#include "tests/gl/GlTest.h"

#include <cstdlib>

namespace voidskirmish::testing {
namespace {

GLFWwindow* sharedWindow = nullptr;

// Set once googletest has read its flags, so the command line cannot reset it.
class ThreadsafeDeathTests : public ::testing::Environment {
 public:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

const auto* const threadsafeDeathTests = ::testing::AddGlobalTestEnvironment(new ThreadsafeDeathTests);

}  // namespace

void GlTest::SetUpTestSuite() {
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
}

GLFWwindow* GlTest::window() { return sharedWindow; }

std::vector<unsigned char> GlTest::readPixels(int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

}  // namespace voidskirmish::testing
