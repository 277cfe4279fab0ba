#pragma once

#include <glm/mat4x4.hpp>

#include "game/ParticlePool.h"
#include "scene/RenderSettings.h"
#include "scene/GlName.h"
#include "scene/ShaderProgram.h"
#include "scene/UniformLocations.h"

namespace voidskirmish::render {

// Draws the packed live particles of the pool as camera-facing squares, all of them in one instanced call.
class ParticleRenderer {
 public:
  // The corner buffer, the two streamed per-particle buffers at full pool size, and the vertex array.
  void createParticleBuffers();

  // Uploads what the pool's last update packed and draws it with one view's matrices. Leaves GL_BLEND on or off as
  // the settings' blending flag says, for everything drawn after it.
  void drawParticles(const game::ParticlePool& pool, const glm::mat4& view, const glm::mat4& projection, const scene::ShaderProgram* program,
                     const scene::RenderSettings* settings) const;

 private:
  scene::GlBuffer billboardVertexBuffer_;
  scene::GlBuffer particlePositionBuffer_;
  scene::GlBuffer particleColorBuffer_;
  scene::GlVertexArray particleVao_;
  mutable scene::UniformLocations<3> uniforms_{{"CameraRight_worldspace", "CameraUp_worldspace", "view_projection"}};
};

}  // namespace voidskirmish::render
