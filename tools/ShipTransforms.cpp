#include "ShipTransforms.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace voidskirmish::tools {

glm::dmat4 hullVertexTransform() {
  glm::dmat4 transform = glm::rotate(glm::dmat4(1.0), glm::half_pi<double>(), glm::dvec3(-1, 0, 0));
  transform = glm::rotate(transform, glm::half_pi<double>(), glm::dvec3(0, 0, 1));
  return glm::translate(transform, glm::dvec3(0, 0, 0.3));
}

glm::dmat4 gunVertexTransform() {
  glm::dmat4 transform = glm::rotate(glm::dmat4(1.0), glm::half_pi<double>(), glm::dvec3(0, 0, -1));
  transform = glm::rotate(transform, glm::pi<double>(), glm::dvec3(0, -1, 0));
  transform = glm::scale(transform, glm::dvec3(0.6, 0.07, 0.7));
  return glm::translate(transform, glm::dvec3(-1, 0, 1.9));
}

}  // namespace voidskirmish::tools
