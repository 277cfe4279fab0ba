#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <memory>

namespace voidskirmish::scene {

struct RenderSettings;

class Texture;
struct ShaderProgram;

// Anything placed in the world: one object-to-world matrix, turned and moved in the object's own frame. Every
// transform goes through setModelMatrix, so a subclass that keeps derived data sees each change.
class SceneObject {
 public:
  SceneObject();
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;
  virtual ~SceneObject();

  virtual void update(float deltaTime) = 0;
  virtual void draw(const ShaderProgram* shader, glm::mat4 view, glm::mat4 projection, glm::vec3 cameraPosition,
                    const glm::vec4* sphere, std::uint32_t* culledCount, const scene::RenderSettings* settings) = 0;
  virtual void rotateX(float angle);
  virtual void rotateY(float angle);
  virtual void rotateZ(float angle);
  virtual void moveX(float distance);
  virtual void moveY(float distance);
  virtual void moveZ(float distance);
  virtual void setModelMatrix(glm::mat4 matrix) = 0;

  std::unique_ptr<Texture> texture;        // diffuse texture, read only while a Geometry's hasTexture is set
  std::unique_ptr<Texture> normalTexture;  // normal map, read only while hasNormalMap is set
  glm::mat4 modelMatrix{1.0f};
};

}  // namespace voidskirmish::scene
