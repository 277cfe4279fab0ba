#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <memory>

#include "scene/GlName.h"
#include "scene/UniformLocations.h"

namespace voidskirmish::scene {

struct RenderSettings;

class Texture;
struct ShaderProgram;

// The starfield: a cube around the eye with a cube-map texture, drawn without depth writes so it never hides
// what comes after it. Needs the OpenGL context at construction.
class Skybox {
 public:
  explicit Skybox(const ShaderProgram* shader);
  ~Skybox();

  // The caller has made the skybox program current; cameraPosition is not needed (the view's translation is
  // dropped so the cube stays centred on the eye).
  void draw(glm::vec3 cameraPosition, const scene::RenderSettings* settings, glm::mat4 view, glm::mat4 projection);

  const ShaderProgram* shader;

 private:
  GlBuffer vbo;
  GlVertexArray vao;
  std::unique_ptr<Texture> texture;
  UniformLocations<3> uniforms{{"view_projection", "celShading", "skybox"}};
};

}  // namespace voidskirmish::scene
