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
// ping-pong (or the fast bloom's mip chain), and the pass that combines them in the window. Owns every frame
// buffer, texture and renderbuffer of it, sized to the window times the render scale, and the full-window quad.
class PostProcessing {
 public:
  struct Programs {
    const scene::ShaderProgram* edgeDetection = nullptr;
    const scene::ShaderProgram* blur = nullptr;
    const scene::ShaderProgram* combine = nullptr;
    const scene::ShaderProgram* bloomChain = nullptr;  // needed only for the fast bloom
  };

  // Looks up the passes' uniforms once; the programs stay the caller's.
  explicit PostProcessing(const Programs& programs);

  // rebuild = false makes every name first; rebuild = true keeps them and re-specifies storage at the new
  // size, each side within what the driver can back. The targets get `scale` (0 to 1) of each side, at least a
  // pixel; the mip chain is made only for the fast bloom. An incomplete frame buffer ends the program.
  void createFramebuffers(bool rebuild, int width, int height, float scale = 1.0f, bool fastBloom = false);
  // Whether the targets were last made for this scale and bloom.
  bool builtFor(float scale, bool fastBloom) const { return scale == scale_ && fastBloom == fastBloom_; }
  // The size the combining pass draws in the window: the window's, but no side beyond the driver's limit.
  int width() const { return width_; }
  int height() const { return height_; }
  // The size the scene and its post-processing are drawn at: the above times the render scale.
  int sceneWidth() const { return sceneWidth_; }
  int sceneHeight() const { return sceneHeight_; }

  // One frame: scene pass, contour and edge passes if contours are on, ten blur passes (or the mip chain) if
  // bloom is on, and the combining pass into the window. Sets the settings' textures flag for each pass.
  void render(scene::RenderSettings& settings, const SceneDrawer& renderScene);

  // The passes of render(), in its order, each leaving frame buffer 0 bound.
  void scenePass(scene::RenderSettings& settings, const SceneDrawer& renderScene);
  void contourPass(scene::RenderSettings& settings, const SceneDrawer& renderScene);
  void edgePass();
  void bloomPasses();
  // Two steps down to a quarter of the window's size and one back up to half, where the result stays.
  void bloomChainPasses();
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
  // What the combining pass adds as glow: the last ping-pong texture, or the chain's last step.
  GLuint bloomTexture() const;

 private:
  void generateNames();
  void createBloomChain();

  // Where the passes' uniforms live in their programs.
  struct Locations {
    GLint edgeSource, blurImage, blurHorizontal, blurSpread, scene, contours, bloom, contoursEnabled, bloomEnabled,
        sceneFiltered, bloomFiltered, chainImage, chainReach;
  };
  // Half, quarter, and half again (the step back up).
  static constexpr int CHAIN_STEPS = 3;
  struct ChainStep {
    scene::GlFramebuffer framebuffer;
    scene::GlTexture texture;
    int width = 0, height = 0;
    float reach = 0.0f;  // how far out the step reads, in source texels
  };

  Programs programs_;
  Locations at_;
  int width_ = 0;
  int height_ = 0;
  int sceneWidth_ = 0;
  int sceneHeight_ = 0;
  float scale_ = 1.0f;
  bool fastBloom_ = false;

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
  std::array<ChainStep, CHAIN_STEPS> chain_;

  scene::GlVertexArray screenQuadVao_;
  scene::GlBuffer screenQuadBuffer_;
};

}  // namespace voidskirmish::render
