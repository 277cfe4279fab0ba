#pragma once

#include <string>

#include <glm/vec3.hpp>

namespace voidskirmish::tools {

class MeshBuilder;

struct MaterialDescription {
  std::string name;
  glm::vec3 diffuse{0.8f};
  glm::vec3 specular{0.2f};
  float shininess = 20.0f;
  std::string diffuseTexture;  // path under the game's texture folder; empty for none
  std::string normalTexture;   // likewise
};

// Writes one mesh with one material as a COLLADA file through Assimp's exporter. The exporter stamps
// the current time into the file; it is replaced by a fixed one so regenerating changes no byte.
void writeModel(const std::string& path, const std::string& name, const MeshBuilder& mesh, bool withUvs,
                const MaterialDescription& material);

}  // namespace voidskirmish::tools
