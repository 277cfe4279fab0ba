#include "game/objects/BoundarySphere.h"

#include <glm/gtc/matrix_transform.hpp>

namespace voidskirmish::game::objects {

// The size goes into the vertices, so the bounding radius is the arena's; the model matrix stays free for the
// drawn sphere's own scale.
BoundarySphere::BoundarySphere(glm::vec3 size, const scene::ShaderProgram* drawProgram)
    : GameObject("Voidskirmish/Material/BoundarySphere.dae", glm::mat4(1.0f), drawProgram,
                 glm::scale(glm::mat4(1.0f), size)) {
  // The warning wireframe is drawn flat and unlit.
  hasTexture = false;
  hasLighting = false;
}

// Scaling the drawn sphere must never grow the arena: only the centre follows the matrix.
void BoundarySphere::setModelMatrix(glm::mat4 matrix) { Geometry::setModelMatrix(matrix); }

}  // namespace voidskirmish::game::objects
