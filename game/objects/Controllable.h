#pragma once

#include <glm/mat4x4.hpp>

namespace voidskirmish::game::objects {

// What a player steers: turns and moves in its own frame, and the view from its camera.
class Controllable {
 public:
  virtual ~Controllable() = default;
  virtual void rotateX(float angle) = 0;
  virtual void rotateY(float angle) = 0;
  virtual void rotateZ(float angle) = 0;
  virtual void moveX(float distance) = 0;
  virtual void moveY(float distance) = 0;
  virtual void moveZ(float distance) = 0;
  virtual glm::mat4 getViewMatrix() const = 0;
};

}  // namespace voidskirmish::game::objects
