#include "render/PostProcessing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>

#include "failure/LoadFailure.h"

namespace voidskirmish::render {
namespace {

constexpr int BLUR_PASSES = 10;
constexpr GLint EDGE_SOURCE_UNIT = 6;
// The chain's step back up reads half a source texel out, spreading each texel as a tent.
constexpr float CHAIN_UP_REACH = 0.5f;

// Scene, bright part and bloom keep values above 1 so the glow has headroom.
void createFloatColorTexture(GLuint texture, int width, int height, int attachmentIndex) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGB, GL_FLOAT, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + attachmentIndex, GL_TEXTURE_2D, texture, 0);
}

// The contour image and its edges only need ordinary colours.
void createByteColorTexture(GLuint texture, int width, int height) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
}

void attachDepthStencil(GLuint renderbuffer, int width, int height) {
  glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffer);
}

// Checks the bound frame buffer, then unbinds it. A window size the driver cannot back ends the program.
void finishFramebuffer() {
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    throw failure::LoadFailure(failure::LoadFailure::Stream::Output,
                               "Couldn't load frame buffer! Framebuffer is not complete!", failure::LineEnd::None, true);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The largest side every attachment and viewport can have; a window beyond it is drawn in its lower-left part
// rather than into incomplete frame buffers.
int largestFramebufferSide() {
  GLint texture = 0;
  GLint renderbuffer = 0;
  std::array<GLint, 2> viewport{};
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport.data());
  return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

void setSampler(GLint location, GLint unit, GLuint texture) {
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, texture);
  glUniform1i(location, unit);
}

void setFlag(GLint location, bool value) { glUniform1i(location, value ? 1 : 0); }

GLint locate(const scene::ShaderProgram* program, const char* name) {
  return program != nullptr ? glGetUniformLocation(program->program, name) : -1;
}

// A scaled side never rounds to nothing.
int scaledSide(int side, float scale) {
  return std::clamp(static_cast<int>(std::lround(static_cast<float>(side) * scale)), 1, side);
}

// Readies the bound off-screen target: all of it, cleared to the scene's backdrop grey.
void clearTarget(bool depthTest, int width, int height) {
  if (depthTest) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glViewport(0, 0, width, height);
  glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace

PostProcessing::PostProcessing(const Programs& programs)
    : programs_(programs),
      at_{locate(programs.edgeDetection, "color_texture"),
          locate(programs.blur, "image"),
          locate(programs.blur, "horizontal"),
          locate(programs.blur, "spread"),
          locate(programs.combine, "scene"),
          locate(programs.combine, "contours"),
          locate(programs.combine, "bloom"),
          locate(programs.combine, "contoursEnabled"),
          locate(programs.combine, "bloomEnabled"),
          locate(programs.combine, "sceneFiltered"),
          locate(programs.combine, "bloomFiltered"),
          locate(programs.bloomChain, "image"),
          locate(programs.bloomChain, "reach")} {}

void PostProcessing::generateNames() {
  sceneFramebuffer_ = scene::makeFramebuffer();
  sceneColorTexture_ = scene::makeTexture();
  brightColorTexture_ = scene::makeTexture();
  sceneDepthStencil_ = scene::makeRenderbuffer();
  for (int i = 0; i < 2; ++i) {
    pingpongFramebuffers_[i] = scene::makeFramebuffer();
    pingpongTextures_[i] = scene::makeTexture();
  }
  contourFramebuffer_ = scene::makeFramebuffer();
  contourSourceTexture_ = scene::makeTexture();
  contourDepthStencil_ = scene::makeRenderbuffer();
  edgeFramebuffer_ = scene::makeFramebuffer();
  edgeTexture_ = scene::makeTexture();
  edgeDepthStencil_ = scene::makeRenderbuffer();
}

void PostProcessing::createFramebuffers(bool rebuild, int windowWidth, int windowHeight, float scale,
                                        bool fastBloom) {
  if (!rebuild || !sceneFramebuffer_) {
    generateNames();
  }
  const int largestSide = largestFramebufferSide();
  width_ = std::min(windowWidth, largestSide);
  height_ = std::min(windowHeight, largestSide);
  scale_ = scale;
  fastBloom_ = fastBloom;
  // At scale 1 exactly the window's size; a side of 0 is left for the completeness check to refuse.
  const int width = scale < 1.0f && width_ > 0 ? scaledSide(width_, scale) : width_;
  const int height = scale < 1.0f && height_ > 0 ? scaledSide(height_, scale) : height_;
  sceneWidth_ = width;
  sceneHeight_ = height;

  // 1. Scene: the image and its bright part, with depth.
  glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer_.get());
  createFloatColorTexture(sceneColorTexture_.get(), width, height, 0);
  createFloatColorTexture(brightColorTexture_.get(), width, height, 1);
  attachDepthStencil(sceneDepthStencil_.get(), width, height);
  finishFramebuffer();

  // 2. The two halves of the bloom ping-pong.
  for (int i = 0; i < 2; ++i) {
    glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[i].get());
    createFloatColorTexture(pingpongTextures_[i].get(), width, height, 0);
    finishFramebuffer();
  }

  // 3. The enemy ship alone, for its contour.
  glBindFramebuffer(GL_FRAMEBUFFER, contourFramebuffer_.get());
  createByteColorTexture(contourSourceTexture_.get(), width, height);
  attachDepthStencil(contourDepthStencil_.get(), width, height);
  finishFramebuffer();

  // 4. The contour's edges.
  glBindFramebuffer(GL_FRAMEBUFFER, edgeFramebuffer_.get());
  createByteColorTexture(edgeTexture_.get(), width, height);
  attachDepthStencil(edgeDepthStencil_.get(), width, height);
  finishFramebuffer();

  if (fastBloom_) {
    createBloomChain();
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// The steps' sizes follow the window, not the scene, so the glow keeps its size in the window at any render
// scale: half the window (or the scene's size, if smaller), a quarter, and half again.
void PostProcessing::createBloomChain() {
  const auto side = [](int window, int scene, int divisor) { return std::clamp(window / divisor, 1, scene); };
  chain_[0].width = side(width_, sceneWidth_, 2);
  chain_[0].height = side(height_, sceneHeight_, 2);
  chain_[1].width = side(width_, chain_[0].width, 4);
  chain_[1].height = side(height_, chain_[0].height, 4);
  chain_[2].width = chain_[0].width;
  chain_[2].height = chain_[0].height;
  int sourceWidth = sceneWidth_;
  for (ChainStep& target : chain_) {
    if (!target.framebuffer) {
      target.framebuffer = scene::makeFramebuffer();
      target.texture = scene::makeTexture();
    }
    // Down, the reads average the source texels under the target texel: one texel out at half the size.
    target.reach = target.width < sourceWidth
                       ? 0.5f * static_cast<float>(sourceWidth) / static_cast<float>(target.width)
                       : CHAIN_UP_REACH;
    sourceWidth = target.width;
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer.get());
    createFloatColorTexture(target.texture.get(), target.width, target.height, 0);
    finishFramebuffer();
  }
}

void PostProcessing::render(scene::RenderSettings& settings, const SceneDrawer& renderScene) {
  scenePass(settings, renderScene);
  if (settings.contours) {
    contourPass(settings, renderScene);
    edgePass();
  }
  if (settings.bloom) {
    if (fastBloom_) {
      bloomChainPasses();
    } else {
      bloomPasses();
    }
  }
  combinePass(settings);
}

void PostProcessing::scenePass(scene::RenderSettings& settings, const SceneDrawer& renderScene) {
  static constexpr std::array<GLenum, 2> attachments = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
  glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer_.get());
  settings.textures = true;
  glDrawBuffers(static_cast<GLsizei>(attachments.size()), attachments.data());
  clearTarget(true, sceneWidth_, sceneHeight_);
  renderScene(true, true, true, true, false);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void PostProcessing::contourPass(scene::RenderSettings& settings, const SceneDrawer& renderScene) {
  glBindFramebuffer(GL_FRAMEBUFFER, contourFramebuffer_.get());
  settings.textures = false;  // the edge filter needs only the silhouette
  clearTarget(true, sceneWidth_, sceneHeight_);
  renderScene(false, false, false, false, true);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void PostProcessing::edgePass() {
  glBindFramebuffer(GL_FRAMEBUFFER, edgeFramebuffer_.get());
  clearTarget(false, sceneWidth_, sceneHeight_);
  glUseProgram(programs_.edgeDetection->program);
  setSampler(at_.edgeSource, EDGE_SOURCE_UNIT, contourSourceTexture_.get());
  drawScreenQuad();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void PostProcessing::bloomPasses() {
  glUseProgram(programs_.blur->program);
  glViewport(0, 0, sceneWidth_, sceneHeight_);
  glUniform1f(at_.blurSpread, scale_);
  bool horizontal = true;
  bool firstPass = true;
  for (int pass = 0; pass < BLUR_PASSES; ++pass) {
    // Each pass reads what the other buffer just wrote; the tenth (vertical) pass ends in buffer 1.
    glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[horizontal ? 0 : 1].get());
    setFlag(at_.blurHorizontal, horizontal);
    const GLuint source = firstPass ? brightColorTexture_.get() : pingpongTextures_[horizontal ? 1 : 0].get();
    setSampler(at_.blurImage, 0, source);
    drawScreenQuad();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    horizontal = !horizontal;
    firstPass = false;
  }
}

void PostProcessing::bloomChainPasses() {
  glUseProgram(programs_.bloomChain->program);
  GLuint source = brightColorTexture_.get();
  for (const ChainStep& target : chain_) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer.get());
    glViewport(0, 0, target.width, target.height);
    glUniform1f(at_.chainReach, target.reach);
    setSampler(at_.chainImage, 0, source);
    drawScreenQuad();
    source = target.texture.get();
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

GLuint PostProcessing::bloomTexture() const {
  return fastBloom_ ? chain_[CHAIN_STEPS - 1].texture.get() : pingpongTextures_[1].get();
}

void PostProcessing::combinePass(const scene::RenderSettings& settings) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDisable(GL_DEPTH_TEST);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(0, 0, width_, height_);
  glUseProgram(programs_.combine->program);
  setSampler(at_.scene, 0, sceneColorTexture_.get());
  setSampler(at_.contours, 1, edgeTexture_.get());
  setSampler(at_.bloom, 2, bloomTexture());
  setFlag(at_.contoursEnabled, settings.contours);
  setFlag(at_.bloomEnabled, settings.bloom);
  const bool scaled = sceneWidth_ != width_ || sceneHeight_ != height_;
  setFlag(at_.sceneFiltered, scaled);
  setFlag(at_.bloomFiltered, scaled || fastBloom_);
  drawScreenQuad();
}

void PostProcessing::drawScreenQuad() {
  if (!screenQuadVao_) {
    // Position x, y, z and texture coordinate u, v of the four corners, as a strip.
    static constexpr std::array<float, 20> corners = {
        -1.0f, 1.0f,  0.0f, 0.0f, 1.0f,  //
        -1.0f, -1.0f, 0.0f, 0.0f, 0.0f,  //
        1.0f,  1.0f,  0.0f, 1.0f, 1.0f,  //
        1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,
    };
    constexpr GLsizei stride = 5 * sizeof(float);
    screenQuadVao_ = scene::makeVertexArray();
    screenQuadBuffer_ = scene::makeBuffer();
    glBindVertexArray(screenQuadVao_.get());
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
  }
  glBindVertexArray(screenQuadVao_.get());
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glBindVertexArray(0);
}

}  // namespace voidskirmish::render
