#include "scene/Geometry.h"

#include <glm/common.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>

#include "scene/RenderSettings.h"
#include "scene/Frustum.h"
#include "scene/ShaderProgram.h"
#include "scene/Texture.h"
#include "scene/WeldedMesh.h"

namespace voidskirmish::scene {
namespace {

// The light is fixed far out along −Z.
const glm::vec3 lightPosition(0.0f, 0.0f, -10000.0f);

template <typename T>
GlBuffer filledBuffer(GLenum target, const std::vector<T>& data) {
  GlBuffer buffer = makeBuffer();
  glBindBuffer(target, buffer.get());
  glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(), GL_STATIC_DRAW);
  glBindBuffer(target, 0);
  return buffer;
}

// Feeds a float attribute from its own tightly packed buffer; a program without the attribute skips it.
void attachAttribute(GLuint program, const char* name, const GlBuffer& buffer, GLint components) {
  glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
  const GLint location = glGetAttribLocation(program, name);
  if (location != -1) {
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
  }
}

// The uniforms every model program may have, in the order of the names below.
enum ModelUniform {
  View, Projection, Model, ColorWireframeModeEnabled, ColorWireframeMode, DiffuseColor, SpecularColor,
  LightPosition, CameraPosition, HasTexture, ColorTexture, HasNormalMap, ColorNormalMap, HasLighting, CelShading,
};

constexpr std::array<const char*, Geometry::MODEL_UNIFORM_COUNT> MODEL_UNIFORM_NAMES = {
    "view", "projection", "model", "colorWireframeModeEnabled", "colorWireframeMode", "diffuseColor",
    "specularColor", "lightPosition", "cameraPosition", "hasTexture", "color_texture", "hasNormalMap",
    "color_normalMap", "hasLighting", "celShading"};

void setVec3(GLint location, glm::vec3 value) { glUniform3f(location, value.x, value.y, value.z); }

void setMatrix(GLint location, const glm::mat4& value) {
  glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void setColourWireframe(const Geometry::Locations& at, const scene::RenderSettings& settings) {
  const bool programHasIt = at[ColorWireframeModeEnabled] != -1 && at[ColorWireframeMode] != -1;
  if (settings.colorWireframeModeEnabled && programHasIt) {
    setVec3(at[ColorWireframeMode], settings.colorWireframeMode);
    glUniform1i(at[ColorWireframeModeEnabled], 1);
  } else {
    glUniform1i(at[ColorWireframeModeEnabled], 0);
  }
}

// Binds a texture (uploading it on first use) to a unit with the current filters and points the sampler there.
void bindTexture(GLint sampler, int unit, Texture& texture, const scene::RenderSettings& settings) {
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
  glBindTexture(GL_TEXTURE_2D, texture.glName());
  applySamplingSettings(&settings);
  glUniform1i(sampler, unit);
}

}  // namespace

Geometry::Geometry(const std::string& filePath, const glm::mat4& modelMatrix, const ShaderProgram* shader,
                   glm::mat4 vertexTransform)
    : Geometry(ModelFile::read(filePath, vertexTransform), modelMatrix, shader) {}

Geometry::Geometry(ModelFile model, const glm::mat4& modelMatrix, const ShaderProgram* shader)
    : shader(shader), uniforms(MODEL_UNIFORM_NAMES) {
  this->modelMatrix = modelMatrix;
  indexCount = static_cast<std::uint32_t>(model.indices.size());
  positions = std::move(model.positions);
  normals = std::move(model.normals);
  tangents = std::move(model.tangents);
  bitangents = std::move(model.bitangents);
  uvs = std::move(model.uvs);
  indices = std::move(model.indices);

  // Each material overwrites the colours; a later texture replaces an earlier one.
  for (const ModelFile::Material& material : model.materials) {
    diffuseColor = material.diffuseColor;
    specularColor = material.specularColor;
    if (material.normalMap) {
      normalTexture = Texture::create2D(*material.normalMap, GL_BGRA);
      hasNormalMap = true;
    }
    if (material.diffuseMap) {
      texture = Texture::create2D(*material.diffuseMap, GL_BGR);
      hasTexture = true;
    }
  }

  const glm::vec3 extent = glm::abs(model.maxCorner - model.minCorner);
  boundingSphere = glm::vec4(0.0f, 0.0f, 0.0f, 0.6f * std::max({extent.x, extent.y, extent.z}));
  setModelMatrix(modelMatrix);
}

Geometry::~Geometry() = default;

void Geometry::setModelMatrix(glm::mat4 matrix) {
  modelMatrix = matrix;
  boundingSphere.x = matrix[3].x;
  boundingSphere.y = matrix[3].y;
  boundingSphere.z = matrix[3].z;
}

void Geometry::upload(const ShaderProgram* drawingShader) {
  const WeldedMesh mesh = weld(positions, normals, tangents, bitangents, uvs, indices);
  positionBuffer = filledBuffer(GL_ARRAY_BUFFER, mesh.positions);
  indexBuffer = filledBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
  normalBuffer = filledBuffer(GL_ARRAY_BUFFER, mesh.normals);
  tangentBuffer = filledBuffer(GL_ARRAY_BUFFER, mesh.tangents);
  bitangentBuffer = filledBuffer(GL_ARRAY_BUFFER, mesh.bitangents);
  uvBuffer = filledBuffer(GL_ARRAY_BUFFER, mesh.uvs);

  const GLuint program = (shader != nullptr ? shader : drawingShader)->program;
  vao = makeVertexArray();
  glBindVertexArray(vao.get());
  attachAttribute(program, "position", positionBuffer, 3);
  attachAttribute(program, "normal", normalBuffer, 3);
  attachAttribute(program, "aTangent", tangentBuffer, 3);
  attachAttribute(program, "aBitangent", bitangentBuffer, 3);
  attachAttribute(program, "uv", uvBuffer, 2);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());  // recorded in the vertex array
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void Geometry::draw(const ShaderProgram* shader, glm::mat4 view, glm::mat4 projection, glm::vec3 cameraPosition,
                    const glm::vec4* sphere, std::uint32_t* culledCount, const scene::RenderSettings* settings) {
  if (settings->frustumCulling &&
      scene::frustum.testSphere(glm::vec3(*sphere), sphere->w) == scene::Frustum::Outside) {
    ++*culledCount;
    return;
  }
  if (!vao) {
    upload(shader);  // first draw: the context exists now
  }
  const Locations& at = uniforms.in(shader->program);
  setMatrix(at[View], view);
  setMatrix(at[Projection], projection);
  setMatrix(at[Model], modelMatrix);
  setColourWireframe(at, *settings);
  setMaterialUniforms(at, cameraPosition, *settings);

  glPolygonMode(GL_FRONT_AND_BACK, settings->wireframe ? GL_LINE : GL_FILL);
  glBindVertexArray(vao.get());
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
  glBindVertexArray(0);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Unit 0 carries the diffuse texture, unit 1 the normal map; the textures switch leaves the normal map alone.
void Geometry::setMaterialUniforms(const Locations& at, glm::vec3 cameraPosition,
                                   const scene::RenderSettings& settings) {
  setVec3(at[DiffuseColor], diffuseColor);
  setVec3(at[SpecularColor], specularColor);
  setVec3(at[LightPosition], lightPosition);
  setVec3(at[CameraPosition], cameraPosition);

  const bool sampleTexture = hasTexture && settings.textures && texture != nullptr;
  glUniform1i(at[HasTexture], sampleTexture ? 1 : 0);
  if (sampleTexture) {
    bindTexture(at[ColorTexture], 0, *texture, settings);
  }
  // The normal-mapping toggle sets the flag on models that may have no normal map.
  const bool useNormalMap = hasNormalMap && normalTexture != nullptr;
  glUniform1i(at[HasNormalMap], useNormalMap ? 1 : 0);
  if (useNormalMap) {
    bindTexture(at[ColorNormalMap], 1, *normalTexture, settings);
  }
  glUniform1i(at[HasLighting], hasLighting ? 1 : 0);
  glUniform1i(at[CelShading], settings.celShading ? 1 : 0);
}

}  // namespace voidskirmish::scene
