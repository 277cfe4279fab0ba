#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scene/GlName.h"
#include "scene/ModelFile.h"
#include "scene/SceneObject.h"
#include "scene/UniformLocations.h"

namespace voidskirmish::scene {

// A drawable model read from a COLLADA file: all meshes flattened into one triangle list with a load-time vertex
// transform baked in, material colours, up to two textures and a bounding sphere. The vertex data is uploaded
// the first time the model is drawn, so a Geometry (and every game object) can be built and tested without an
// OpenGL context. One draw call per model.
class Geometry : public SceneObject {
 public:
  static constexpr std::size_t MODEL_UNIFORM_COUNT = 15;
  using Locations = std::array<GLint, MODEL_UNIFORM_COUNT>;

  Geometry(const std::string& filePath, const glm::mat4& modelMatrix, const ShaderProgram* shader,
           glm::mat4 vertexTransform);
  // From a model read earlier, for objects made again and again from one file.
  Geometry(ModelFile model, const glm::mat4& modelMatrix, const ShaderProgram* shader);
  ~Geometry() override;

  void update(float) override {}
  void draw(const ShaderProgram* shader, glm::mat4 view, glm::mat4 projection, glm::vec3 cameraPosition,
            const glm::vec4* sphere, std::uint32_t* culledCount, const scene::RenderSettings* settings) override;
  // Stores the matrix and moves the bounding sphere's centre to its translation; the radius stays.
  void setModelMatrix(glm::mat4 matrix) override;

  bool hasTexture = false;
  bool hasNormalMap = false;
  bool hasLighting = true;
  const ShaderProgram* shader = nullptr;  // shared, never deleted here
  glm::vec3 diffuseColor{0.0f};
  glm::vec3 specularColor{0.0f};
  glm::vec4 boundingSphere{0.0f};  // xyz world centre, w radius
  std::uint32_t indexCount = 0;

  std::vector<float> positions;
  std::vector<float> normals;
  std::vector<float> tangents;
  std::vector<float> bitangents;
  std::vector<float> uvs;
  std::vector<std::uint32_t> indices;

 private:
  // Creates the buffers and the vertex array; attribute locations come from the program the model was built
  // for, or from the drawing program when it was built without one.
  void upload(const ShaderProgram* drawingShader);
  void setMaterialUniforms(const Locations& at, glm::vec3 cameraPosition, const scene::RenderSettings& settings);

  UniformLocations<MODEL_UNIFORM_COUNT> uniforms;  // of the program last drawn with
  GlVertexArray vao;
  GlBuffer positionBuffer, normalBuffer, uvBuffer, indexBuffer, tangentBuffer, bitangentBuffer;
};

}  // namespace voidskirmish::scene
