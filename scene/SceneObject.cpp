#include "scene/SceneObject.h"

#include <glm/gtc/matrix_transform.hpp>

#include "scene/Texture.h"

namespace voidskirmish::scene {

SceneObject::SceneObject() = default;
SceneObject::~SceneObject() = default;

void SceneObject::rotateX(float angle) { setModelMatrix(glm::rotate(modelMatrix, angle, glm::vec3(1, 0, 0))); }
void SceneObject::rotateY(float angle) { setModelMatrix(glm::rotate(modelMatrix, angle, glm::vec3(0, 1, 0))); }
void SceneObject::rotateZ(float angle) { setModelMatrix(glm::rotate(modelMatrix, angle, glm::vec3(0, 0, 1))); }
void SceneObject::moveX(float distance) { setModelMatrix(glm::translate(modelMatrix, glm::vec3(distance, 0, 0))); }
void SceneObject::moveY(float distance) { setModelMatrix(glm::translate(modelMatrix, glm::vec3(0, distance, 0))); }
void SceneObject::moveZ(float distance) { setModelMatrix(glm::translate(modelMatrix, glm::vec3(0, 0, distance))); }

}  // namespace voidskirmish::scene
