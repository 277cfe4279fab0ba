#include "scene/GlName.h"

namespace voidskirmish::scene {
namespace {

template <typename Holder>
Holder generate(void (*gen)(GLsizei, GLuint*)) {
  GLuint name = 0;
  gen(1, &name);
  return Holder(name);
}

}  // namespace

GlBuffer makeBuffer() { return generate<GlBuffer>(glGenBuffers); }
GlVertexArray makeVertexArray() { return generate<GlVertexArray>(glGenVertexArrays); }
GlTexture makeTexture() { return generate<GlTexture>(glGenTextures); }
GlFramebuffer makeFramebuffer() { return generate<GlFramebuffer>(glGenFramebuffers); }
GlRenderbuffer makeRenderbuffer() { return generate<GlRenderbuffer>(glGenRenderbuffers); }

}  // namespace voidskirmish::scene
