#pragma once

#include <GL/glew.h>

#include <utility>

namespace voidskirmish::scene {

// Owns one OpenGL object name: move-only, deletes the name when it goes, leaves 0 behind when moved from.
template <typename Deleter>
class GlName {
 public:
  GlName() = default;
  explicit GlName(GLuint name) : name_(name) {}
  GlName(const GlName&) = delete;
  GlName& operator=(const GlName&) = delete;
  GlName(GlName&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
  GlName& operator=(GlName&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.name_, 0));
    }
    return *this;
  }
  ~GlName() { reset(); }

  GLuint get() const { return name_; }
  explicit operator bool() const { return name_ != 0; }

  void reset(GLuint name = 0) {
    if (name_ != 0) {
      Deleter{}(name_);
    }
    name_ = name;
  }

 private:
  GLuint name_ = 0;
};

struct BufferDeleter { void operator()(GLuint n) const { glDeleteBuffers(1, &n); } };
struct VertexArrayDeleter { void operator()(GLuint n) const { glDeleteVertexArrays(1, &n); } };
struct TextureDeleter { void operator()(GLuint n) const { glDeleteTextures(1, &n); } };
struct FramebufferDeleter { void operator()(GLuint n) const { glDeleteFramebuffers(1, &n); } };
struct RenderbufferDeleter { void operator()(GLuint n) const { glDeleteRenderbuffers(1, &n); } };

using GlBuffer = GlName<BufferDeleter>;
using GlVertexArray = GlName<VertexArrayDeleter>;
using GlTexture = GlName<TextureDeleter>;
using GlFramebuffer = GlName<FramebufferDeleter>;
using GlRenderbuffer = GlName<RenderbufferDeleter>;

// Generators that hand the new name straight to its owner.
GlBuffer makeBuffer();
GlVertexArray makeVertexArray();
GlTexture makeTexture();
GlFramebuffer makeFramebuffer();
GlRenderbuffer makeRenderbuffer();

}  // namespace voidskirmish::scene
