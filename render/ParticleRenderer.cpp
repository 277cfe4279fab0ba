#include "render/ParticleRenderer.h"

#include <glm/gtc/type_ptr.hpp>

#include <array>

namespace voidskirmish::render {
namespace {

constexpr GLuint CORNER_ATTRIBUTE = 0;
constexpr GLuint POSITION_SIZE_ATTRIBUTE = 1;
constexpr GLuint COLOUR_ATTRIBUTE = 2;

constexpr GLsizeiptr POSITION_SIZE_BYTES = sizeof(game::ParticlePool::particlePositionSizeData);
constexpr GLsizeiptr COLOUR_BYTES = sizeof(game::ParticlePool::particleColorData);
constexpr GLsizeiptr POSITION_SIZE_STRIDE = 4 * sizeof(float);
constexpr GLsizeiptr COLOUR_STRIDE = 4;

// A unit square around the centre, as a strip.
constexpr std::array<float, 12> BILLBOARD_CORNERS = {
    -0.5f, -0.5f, 0.0f,  //
    0.5f,  -0.5f, 0.0f,  //
    -0.5f, 0.5f,  0.0f,  //
    0.5f,  0.5f,  0.0f,
};

// Overwrites only the live part. Orphaning the whole pool-sized store instead would have the software
// rasteriser allocate and clear megabytes for every half of every frame.
void stream(GLuint buffer, GLsizeiptr used, const void* data) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferSubData(GL_ARRAY_BUFFER, 0, used, data);
}

void pointAttribute(GLuint location, GLuint buffer, GLint components, GLenum type, GLboolean normalised,
                    GLuint divisor) {
  glEnableVertexAttribArray(location);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glVertexAttribPointer(location, components, type, normalised, 0, nullptr);
  glVertexAttribDivisor(location, divisor);
}

}  // namespace

void ParticleRenderer::createParticleBuffers() {
  billboardVertexBuffer_ = scene::makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, billboardVertexBuffer_.get());
  glBufferData(GL_ARRAY_BUFFER, sizeof(BILLBOARD_CORNERS), BILLBOARD_CORNERS.data(), GL_STATIC_DRAW);

  particlePositionBuffer_ = scene::makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer_.get());
  glBufferData(GL_ARRAY_BUFFER, POSITION_SIZE_BYTES, nullptr, GL_STREAM_DRAW);

  particleColorBuffer_ = scene::makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, particleColorBuffer_.get());
  glBufferData(GL_ARRAY_BUFFER, COLOUR_BYTES, nullptr, GL_STREAM_DRAW);

  // Empty: every draw sets the attributes itself.
  particleVao_ = scene::makeVertexArray();
}

void ParticleRenderer::drawParticles(const game::ParticlePool& pool, const glm::mat4& view, const glm::mat4& projection,
                                     const scene::ShaderProgram* program,
                                     const scene::RenderSettings* settings) const {
  const glm::mat4 viewProjection = projection * view;
  const auto& [cameraRight, cameraUp, viewProjectionLocation] = uniforms_.in(program->program);

  glBindVertexArray(particleVao_.get());
  stream(particlePositionBuffer_.get(), pool.particleCount * POSITION_SIZE_STRIDE, pool.particlePositionSizeData.data());
  stream(particleColorBuffer_.get(), pool.particleCount * COLOUR_STRIDE, pool.particleColorData.data());

  if (settings->blending) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
  }

  glUseProgram(program->program);
  // The first two rows of the view matrix: the camera's right and up axes in world space.
  glUniform3f(cameraRight, view[0][0], view[1][0], view[2][0]);
  glUniform3f(cameraUp, view[0][1], view[1][1], view[2][1]);
  glUniformMatrix4fv(viewProjectionLocation, 1, GL_FALSE, glm::value_ptr(viewProjection));

  pointAttribute(CORNER_ATTRIBUTE, billboardVertexBuffer_.get(), 3, GL_FLOAT, GL_FALSE, 0);
  pointAttribute(POSITION_SIZE_ATTRIBUTE, particlePositionBuffer_.get(), 4, GL_FLOAT, GL_FALSE, 1);
  pointAttribute(COLOUR_ATTRIBUTE, particleColorBuffer_.get(), 4, GL_UNSIGNED_BYTE, GL_TRUE, 1);

  glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, pool.particleCount);

  glDisableVertexAttribArray(CORNER_ATTRIBUTE);
  glDisableVertexAttribArray(POSITION_SIZE_ATTRIBUTE);
  glDisableVertexAttribArray(COLOUR_ATTRIBUTE);
  glBindVertexArray(0);
}

}  // namespace voidskirmish::render
