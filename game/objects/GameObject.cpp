#include "game/objects/GameObject.h"

#include <glm/gtc/matrix_transform.hpp>

namespace voidskirmish::game::objects {

GameObject::GameObject(const std::string& filePath, const glm::mat4& modelMatrix,
                       const scene::ShaderProgram* shader, glm::mat4 vertexTransform)
    : Geometry(filePath, modelMatrix, shader, vertexTransform) {}

void GameObject::moveX(float distance) { moveBy(glm::vec3(distance, 0.0f, 0.0f)); }
void GameObject::moveY(float distance) { moveBy(glm::vec3(0.0f, distance, 0.0f)); }
void GameObject::moveZ(float distance) { moveBy(glm::vec3(0.0f, 0.0f, distance)); }

// Remember the pose first, so a collision can undo exactly this step.
void GameObject::moveBy(glm::vec3 offset) {
  previousModelMatrix = modelMatrix;
  setModelMatrix(glm::translate(modelMatrix, offset));
}

}  // namespace voidskirmish::game::objects
