#include "scene/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

namespace voidskirmish::scene {

Camera::Camera(glm::vec3 position, glm::vec3 offset) {
  modelMatrix = glm::translate(glm::translate(glm::mat4(1.0f), position), offset);
}

}  // namespace voidskirmish::scene
