#pragma once

#include <array>
#include <functional>

#include "scene/RenderSettings.h"
#include "scene/GlName.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::render {

// Draws both halves into the frame buffer bound when called: (asteroids, skybox, boundaryWarning, effects,
// enemyOnly).
using SceneDrawer = std::function<void(bool, bool, bool, bool, bool)>;

// The off-screen frame: the scene with its bright part, the enemy-only contour image and its edges, the bloom
// ping-pong, and the pass that combines them in the window. Owns every frame buffer, texture and renderbuffer
// of it, sized to the window, and the full-window quad.
class PostProcessing {
 public:
  struct Programs {
    const scene::ShaderProgram* edgeDetection = nullptr;
    const scene::ShaderProgram* blur = nullptr;
    const scene::ShaderProgram* combine = nullptr;
  };

  // Looks up the passes' uniforms once; the programs stay the caller's.
  explicit PostProcessing(const Programs& programs);

  // rebuild = false makes every name first; rebuild = true keeps them and re-specifies storage at the new
  // size, each side within what the driver can back. An incomplete frame buffer ends the program.
  void createFramebuffers(bool rebuild, int width, int height);
  // The size drawn at: the window's, but no side beyond the driver's limit.
  int width() const { return width_; }
  int height() const { return height_; }

  // One frame: scene pass, contour and edge passes if contours are on, ten blur passes if bloom is on, and
  // the combining pass into the window. Sets the settings' textures flag for each pass.
  void render(scene::RenderSettings& settings, const SceneDrawer& renderScene);

  // The passes of render(), in its order, each leaving frame buffer 0 bound.
  void scenePass(scene::RenderSettings& settings, const SceneDrawer& renderScene);
  void contourPass(scene::RenderSettings& settings, const SceneDrawer& renderScene);
  void edgePass();
  void bloomPasses();
  void combinePass(const scene::RenderSettings& settings);

  // The full-window quad as a strip; made on first use.
  void drawScreenQuad();

  GLuint sceneFramebuffer() const { return sceneFramebuffer_.get(); }
  GLuint pingpongFramebuffer(int index) const { return pingpongFramebuffers_[index].get(); }
  GLuint contourFramebuffer() const { return contourFramebuffer_.get(); }
  GLuint edgeFramebuffer() const { return edgeFramebuffer_.get(); }
  GLuint sceneColorTexture() const { return sceneColorTexture_.get(); }
  GLuint brightColorTexture() const { return brightColorTexture_.get(); }
  GLuint pingpongTexture(int index) const { return pingpongTextures_[index].get(); }
  GLuint contourSourceTexture() const { return contourSourceTexture_.get(); }
  GLuint edgeTexture() const { return edgeTexture_.get(); }

 private:
  void generateNames();

  // Where the passes' uniforms live in their programs.
  struct Locations {
    GLint edgeSource, blurImage, blurHorizontal, scene, contours, bloom, contoursEnabled, bloomEnabled;
  };

  Programs programs_;
  Locations at_;
  int width_ = 0;
  int height_ = 0;

  scene::GlFramebuffer sceneFramebuffer_;
  scene::GlTexture sceneColorTexture_;
  scene::GlTexture brightColorTexture_;
  scene::GlRenderbuffer sceneDepthStencil_;
  std::array<scene::GlFramebuffer, 2> pingpongFramebuffers_;
  std::array<scene::GlTexture, 2> pingpongTextures_;
  scene::GlFramebuffer contourFramebuffer_;
  scene::GlTexture contourSourceTexture_;
  scene::GlRenderbuffer contourDepthStencil_;
  scene::GlFramebuffer edgeFramebuffer_;
  scene::GlTexture edgeTexture_;
  scene::GlRenderbuffer edgeDepthStencil_;

  scene::GlVertexArray screenQuadVao_;
  scene::GlBuffer screenQuadBuffer_;
};

}  // namespace voidskirmish::render
