#pragma once

#include <cstdint>
#include <vector>

namespace voidskirmish::scene {

// A model's vertex data with bit-identical corners merged into one vertex, numbered in the order the triangles
// first use them. A flattened triangle list repeats no index, so the software rasteriser ran the vertex shader
// for every corner of every triangle, about six times a vertex; with shared, nearby indices it runs it about
// once. The triangles, their order and every attribute value stay exactly as they were.
struct WeldedMesh {
  std::vector<float> positions, normals, tangents, bitangents, uvs;
  std::vector<std::uint32_t> indices;
};

// Three floats a vertex in positions, normals, tangents and bitangents, two in uvs. Data that does not fit
// that shape, or indices past its end, come back unchanged.
WeldedMesh weld(const std::vector<float>& positions, const std::vector<float>& normals,
                const std::vector<float>& tangents, const std::vector<float>& bitangents,
                const std::vector<float>& uvs, const std::vector<std::uint32_t>& indices);

}  // namespace voidskirmish::scene
