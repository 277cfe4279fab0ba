#pragma once

#include "game/objects/GameObject.h"

namespace voidskirmish::game::objects {

// The arena: one large sphere around the origin, its size baked into the vertices. A ship whose bounding sphere
// no longer overlaps this one's is outside. Drawn only as the red wireframe warning.
class BoundarySphere : public GameObject {
 public:
  BoundarySphere(glm::vec3 size, const scene::ShaderProgram* drawProgram);

  void setModelMatrix(glm::mat4 matrix) override;
};

}  // namespace voidskirmish::game::objects
