#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace voidskirmish::scene {

// The contents of a COLLADA model file, read on the CPU only: every triangle of every mesh in mesh-list order
// (node transforms ignored) as one non-indexed list with the load-time vertex transform baked in, plus the
// materials' colours and texture paths.
struct ModelFile {
  struct Material {
    glm::vec3 diffuseColor{0.0f};
    glm::vec3 specularColor{0.0f};
    std::optional<std::string> normalMap;   // paths as stored in the file, relative to the texture folder
    std::optional<std::string> diffuseMap;
  };

  // Ends the program with the loader's message when the file cannot be read or holds no triangle.
  static ModelFile read(const std::string& path, const glm::mat4& vertexTransform);

  std::vector<float> positions;   // 3 per vertex
  std::vector<float> normals;     // 3 per vertex, transformed but not renormalised
  std::vector<float> tangents;    // 3 per vertex
  std::vector<float> bitangents;  // 3 per vertex
  std::vector<float> uvs;         // 2 per vertex; (0, 0) where a mesh has none
  std::vector<std::uint32_t> indices;  // 0, 1, 2, …: every vertex is its own index
  glm::vec3 minCorner{0.0f};      // extents of the transformed positions
  glm::vec3 maxCorner{0.0f};
  std::vector<Material> materials;
};

}  // namespace voidskirmish::scene
