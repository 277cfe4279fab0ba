#include "render/Overlays.h"

#include <glm/gtc/type_ptr.hpp>

#include "render/OverlayMath.h"

namespace voidskirmish::render {
namespace {

// Buffer contents do not depend on the target, so every static buffer is filled through GL_ARRAY_BUFFER.
template <typename Data>
scene::GlBuffer makeStaticBuffer(const Data& data) {
  scene::GlBuffer buffer = scene::makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
  glBufferData(GL_ARRAY_BUFFER, sizeof(data), data.data(), GL_STATIC_DRAW);
  return buffer;
}

// Points the program's "position" at the bound array buffer; a program without it is left alone.
void pointPosition(const scene::ShaderProgram* program, GLint components) {
  const GLint location = glGetAttribLocation(program->program, "position");
  if (location < 0) {
    return;
  }
  glEnableVertexAttribArray(static_cast<GLuint>(location));
  glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
}

void setModel(GLint location, const glm::mat4& model) {
  glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(model));
}

void drawBar(GLuint vao) {
  glBindVertexArray(vao);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(BAR_INDICES.size()), GL_UNSIGNED_INT, nullptr);
  glBindVertexArray(0);
}

}  // namespace

void Overlays::createOverlayBuffers(const scene::ShaderProgram* arrowProgram,
                                    const scene::ShaderProgram* colorProgram) {
  arrowProgram_ = arrowProgram;
  colorProgram_ = colorProgram;

  arrowVertexBuffer_ = makeStaticBuffer(ARROW_VERTICES);
  arrowVao_ = scene::makeVertexArray();
  glBindVertexArray(arrowVao_.get());
  glBindBuffer(GL_ARRAY_BUFFER, arrowVertexBuffer_.get());
  pointPosition(arrowProgram_, 2);
  glBindVertexArray(0);

  // The crosshair's vertex array keeps only the indices; its attribute is pointed at every draw.
  crosshairVertexBuffer_ = makeStaticBuffer(CROSSHAIR_VERTICES);
  crosshairIndexBuffer_ = makeStaticBuffer(BAR_INDICES);
  crosshairVao_ = scene::makeVertexArray();
  glBindVertexArray(crosshairVao_.get());
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, crosshairIndexBuffer_.get());
  glBindVertexArray(0);

  lifeBarVertexBuffer_ = makeStaticBuffer(LIFE_BAR_VERTICES);
  lifeBarIndexBuffer_ = makeStaticBuffer(BAR_INDICES);
  lifeBarVao_ = scene::makeVertexArray();
  glBindVertexArray(lifeBarVao_.get());
  glBindBuffer(GL_ARRAY_BUFFER, lifeBarVertexBuffer_.get());
  pointPosition(colorProgram_, 3);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lifeBarIndexBuffer_.get());
  glBindVertexArray(0);

  triangleColorLocation_ = glGetUniformLocation(arrowProgram_->program, "triangleColor");
  arrowModelLocation_ = glGetUniformLocation(arrowProgram_->program, "model");
  colorLocation_ = glGetUniformLocation(colorProgram_->program, "color");
  colorModelLocation_ = glGetUniformLocation(colorProgram_->program, "model");
}

void Overlays::drawLifeBar(float lifePoints, glm::vec3 color) const {
  glUseProgram(colorProgram_->program);
  setModel(colorModelLocation_, lifeBarModel(lifePoints));
  glUniform3f(colorLocation_, color.r, color.g, color.b);
  drawBar(lifeBarVao_.get());
}

void Overlays::drawCrosshair(int width, int height) const {
  glUseProgram(colorProgram_->program);
  for (int k = 0; k < 2; ++k) {
    setModel(colorModelLocation_, crosshairModel(k, width, height));
    glUniform3f(colorLocation_, 0.0f, 1.0f, 0.0f);
    glBindVertexArray(crosshairVao_.get());
    glBindBuffer(GL_ARRAY_BUFFER, crosshairVertexBuffer_.get());
    pointPosition(colorProgram_, 3);
    drawBar(crosshairVao_.get());
  }
}

void Overlays::drawDirectionArrow(bool left, bool above, bool right, bool below, int width, int height) const {
  glUseProgram(arrowProgram_->program);
  setModel(arrowModelLocation_, directionArrowModel(left, above, right, below, width, height));
  glUniform3f(triangleColorLocation_, 1.0f, 0.0f, 0.0f);
  glBindVertexArray(arrowVao_.get());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(ARROW_VERTICES.size() / 2));
  glBindVertexArray(0);
}

}  // namespace voidskirmish::render
