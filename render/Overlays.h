#pragma once

#include <glm/vec3.hpp>

#include "scene/GlName.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::render {

// The flat head-up shapes of each half: life bar, crosshair and the arrow toward an off-screen enemy. They are
// placed straight in the half's normalised device coordinates; only a "model" matrix applies.
class Overlays {
 public:
  // Arrow buffer and vertex array; crosshair buffer, index buffer and vertex array; life bar buffer, index
  // buffer and vertex array. The programs are kept for drawing.
  void createOverlayBuffers(const scene::ShaderProgram* arrowProgram, const scene::ShaderProgram* colorProgram);

  // colour: the life colour, or the pulsing warning colour while the ship is outside the arena.
  void drawLifeBar(float lifePoints, glm::vec3 color) const;
  void drawCrosshair(int width, int height) const;
  // Exactly one flag is expected; width and height are the window's.
  void drawDirectionArrow(bool left, bool above, bool right, bool below, int width, int height) const;

 private:
  const scene::ShaderProgram* arrowProgram_ = nullptr;
  const scene::ShaderProgram* colorProgram_ = nullptr;
  GLint triangleColorLocation_ = -1;
  GLint arrowModelLocation_ = -1;
  GLint colorLocation_ = -1;  // of the colour program, shared by crosshair and life bar
  GLint colorModelLocation_ = -1;

  scene::GlBuffer arrowVertexBuffer_;
  scene::GlVertexArray arrowVao_;
  scene::GlBuffer crosshairVertexBuffer_;
  scene::GlBuffer crosshairIndexBuffer_;
  scene::GlVertexArray crosshairVao_;
  scene::GlBuffer lifeBarVertexBuffer_;
  scene::GlBuffer lifeBarIndexBuffer_;
  scene::GlVertexArray lifeBarVao_;
};

}  // namespace voidskirmish::render
