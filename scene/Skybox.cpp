#include "scene/Skybox.h"

#include <glm/gtc/type_ptr.hpp>
#include <glm/mat3x3.hpp>

#include "scene/RenderSettings.h"
#include "scene/ShaderProgram.h"
#include "scene/Texture.h"

namespace voidskirmish::scene {
namespace {

// Two triangles per face, corners in drawing order.
constexpr float cubeCorners[36 * 3] = {
    -1, 1,  -1, -1, -1, -1, 1,  -1, -1, 1,  -1, -1, 1,  1,  -1, -1, 1,  -1,  // z = −1
    -1, -1, 1,  -1, -1, -1, -1, 1,  -1, -1, 1,  -1, -1, 1,  1,  -1, -1, 1,   // x = −1
    1,  -1, -1, 1,  -1, 1,  1,  1,  1,  1,  1,  1,  1,  1,  -1, 1,  -1, -1,  // x = 1
    -1, -1, 1,  -1, 1,  1,  1,  1,  1,  1,  1,  1,  1,  -1, 1,  -1, -1, 1,   // z = 1
    -1, 1,  -1, 1,  1,  -1, 1,  1,  1,  1,  1,  1,  -1, 1,  1,  -1, 1,  -1,  // y = 1
    -1, -1, -1, -1, -1, 1,  1,  -1, -1, 1,  -1, -1, -1, -1, 1,  1,  -1, 1,   // y = −1
};

static_assert(sizeof(cubeCorners) == 432, "36 corners of three floats");

// +X, −X, +Y, −Y, +Z, −Z: the bottom picture fills +Y and the top picture −Y.
const std::vector<std::string> faceFiles = {"Skybox/right.jpg", "Skybox/left.jpg", "Skybox/bottom.jpg",
                                            "Skybox/top.jpg",   "Skybox/back.jpg", "Skybox/front.jpg"};

}  // namespace

Skybox::Skybox(const ShaderProgram* shader) : shader(shader) {
  vbo = makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, vbo.get());
  glBufferData(GL_ARRAY_BUFFER, sizeof(cubeCorners), cubeCorners, GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  vao = makeVertexArray();
  glBindVertexArray(vao.get());
  glBindBuffer(GL_ARRAY_BUFFER, vbo.get());
  const GLint location = glGetAttribLocation(shader->program, "position");
  if (location != -1) {
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  texture = std::make_unique<Texture>();
  texture->loadCubeMap(faceFiles);
}

Skybox::~Skybox() = default;

void Skybox::draw(glm::vec3, const scene::RenderSettings* settings, glm::mat4 view, glm::mat4 projection) {
  glDepthMask(GL_FALSE);
  const glm::mat4 rotationOnlyView = glm::mat4(glm::mat3(view));  // the cube stays centred on the eye
  const glm::mat4 viewProjection = projection * rotationOnlyView;
  const auto& [viewProjectionLocation, celShading, skyboxLocation] = uniforms.in(shader->program);
  glUniformMatrix4fv(viewProjectionLocation, 1, GL_FALSE, glm::value_ptr(viewProjection));
  if (celShading >= 0) {
    glUniform1i(celShading, settings->celShading ? 1 : 0);
  }
  glBindVertexArray(vao.get());
  // The cube map keeps its linear filters: the sampling settings are for model textures.
  glActiveTexture(GL_TEXTURE0);
  glUniform1i(skyboxLocation, 0);
  glBindTexture(GL_TEXTURE_CUBE_MAP, texture->glName());
  glPolygonMode(GL_FRONT_AND_BACK, settings->wireframe ? GL_LINE : GL_FILL);
  glDrawArrays(GL_TRIANGLES, 0, 36);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glBindVertexArray(0);
  glDepthMask(GL_TRUE);
}

}  // namespace voidskirmish::scene
