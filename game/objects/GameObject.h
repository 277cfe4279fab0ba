#pragma once

#include "scene/Geometry.h"

namespace voidskirmish::game::objects {

// A solid object of the arena: remembers its pose from before the latest move, so a collision can put it back,
// and carries a collision lock with a count-down.
class GameObject : public scene::Geometry {
 public:
  GameObject(const std::string& filePath, const glm::mat4& modelMatrix, const scene::ShaderProgram* shader,
             glm::mat4 vertexTransform);

  void moveX(float distance) override;
  void moveY(float distance) override;
  void moveZ(float distance) override;

  glm::mat4 previousModelMatrix{1.0f};
  bool collided = false;
  float collisionTimer = 3.0f;
  float collisionDuration = 3.0f;

 private:
  void moveBy(glm::vec3 offset);
};

}  // namespace voidskirmish::game::objects
