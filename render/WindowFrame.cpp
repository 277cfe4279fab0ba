#include "render/WindowFrame.h"

#include <GL/glew.h>

namespace voidskirmish::render {

bool loadOpenGl() {
  glewExperimental = GL_TRUE;
  return glewInit() == GLEW_OK;
}

void clearWindow(bool depth) { glClear(depth ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT); }

void enableDepthTest() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
}

void useBlackClearColour() { glClearColor(0.0f, 0.0f, 0.0f, 1.0f); }

}  // namespace voidskirmish::render
