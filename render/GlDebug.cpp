#include "render/GlDebug.h"

#include <GL/glew.h>

#include <cstdlib>
#include <iostream>
#include <set>
#include <string>

namespace voidskirmish::render {
namespace {

unsigned int errorCount = 0;

void GLAPIENTRY onDebugMessage(GLenum /*source*/, GLenum type, GLuint /*id*/, GLenum /*severity*/, GLsizei length,
                               const GLchar* message, const void* /*userParam*/) {
  if (type != GL_DEBUG_TYPE_ERROR) {
    return;
  }
  ++errorCount;
  // An error made every frame would otherwise bury the console.
  static std::set<std::string> reported;
  std::string text = length >= 0 ? std::string(message, static_cast<size_t>(length)) : std::string(message);
  if (reported.insert(text).second) {
    std::cerr << "GL error: " << text << std::endl;
  }
}

}  // namespace

bool installGlDebugOutput() {
  GLint flags = 0;
  glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
  const bool debugContext = (flags & GL_CONTEXT_FLAG_DEBUG_BIT) != 0;
  if (!debugContext && std::getenv("VOIDSKIRMISH_GL_DEBUG") == nullptr) {
    return false;
  }
  if (glDebugMessageCallback == nullptr) {
    return false;  // neither GL 4.3 nor KHR_debug
  }
  glEnable(GL_DEBUG_OUTPUT);
  // Synchronous, so the message arrives inside the call that caused it.
  glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
  glDebugMessageCallback(onDebugMessage, nullptr);
  return true;
}

unsigned int glErrorCount() { return errorCount; }

}  // namespace voidskirmish::render
