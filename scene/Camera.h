#pragma once

#include "scene/SceneObject.h"

namespace voidskirmish::scene {

// A viewpoint without geometry: looks along its local −Z with local +Y up.
class Camera : public SceneObject {
 public:
  Camera(glm::vec3 position, glm::vec3 offset);

  void update(float) override {}
  void draw(const ShaderProgram*, glm::mat4, glm::mat4, glm::vec3, const glm::vec4*, std::uint32_t*,
            const scene::RenderSettings*) override {}
  void setModelMatrix(glm::mat4 matrix) override { modelMatrix = matrix; }

  const float nearPlane = 0.1f;
  const float farPlane = 10000.0f;
};

}  // namespace voidskirmish::scene
