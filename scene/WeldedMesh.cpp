#include "scene/WeldedMesh.h"

#include <array>
#include <cstring>
#include <unordered_map>

namespace voidskirmish::scene {
namespace {

constexpr std::size_t CORNER_FLOATS = 4 * 3 + 2;

// Every attribute of one vertex, compared and hashed by its bits, so only truly identical corners merge.
struct Corner {
  std::array<std::uint32_t, CORNER_FLOATS> bits;
  bool operator==(const Corner& other) const { return bits == other.bits; }
};

struct CornerHash {
  std::size_t operator()(const Corner& corner) const {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a over the words
    for (std::uint32_t word : corner.bits) {
      hash = (hash ^ word) * 1099511628211ull;
    }
    return hash;
  }
};

struct Attribute {
  const std::vector<float>* source;
  std::vector<float> WeldedMesh::*target;
  std::size_t components;
};

constexpr std::array<Attribute, 5> attributesOf(const std::vector<float>& positions,
                                                const std::vector<float>& normals,
                                                const std::vector<float>& tangents,
                                                const std::vector<float>& bitangents, const std::vector<float>& uvs) {
  return {Attribute{&positions, &WeldedMesh::positions, 3}, Attribute{&normals, &WeldedMesh::normals, 3},
          Attribute{&tangents, &WeldedMesh::tangents, 3}, Attribute{&bitangents, &WeldedMesh::bitangents, 3},
          Attribute{&uvs, &WeldedMesh::uvs, 2}};
}

}  // namespace

WeldedMesh weld(const std::vector<float>& positions, const std::vector<float>& normals,
                const std::vector<float>& tangents, const std::vector<float>& bitangents,
                const std::vector<float>& uvs, const std::vector<std::uint32_t>& indices) {
  const auto attributes = attributesOf(positions, normals, tangents, bitangents, uvs);
  const std::size_t vertexCount = positions.size() / 3;
  bool fits = positions.size() == 3 * vertexCount;
  for (const Attribute& attribute : attributes) {
    fits = fits && attribute.source->size() == attribute.components * vertexCount;
  }
  for (std::uint32_t index : indices) {
    fits = fits && index < vertexCount;
  }
  if (!fits) {
    return {positions, normals, tangents, bitangents, uvs, indices};
  }

  WeldedMesh mesh;
  mesh.indices.reserve(indices.size());
  std::unordered_map<Corner, std::uint32_t, CornerHash> numbers;
  numbers.reserve(indices.size());
  for (std::uint32_t index : indices) {
    Corner corner{};
    std::size_t word = 0;
    for (const Attribute& attribute : attributes) {
      std::memcpy(&corner.bits[word], attribute.source->data() + index * attribute.components,
                  attribute.components * sizeof(float));
      word += attribute.components;
    }
    const auto [entry, isNew] = numbers.try_emplace(corner, static_cast<std::uint32_t>(numbers.size()));
    if (isNew) {
      for (const Attribute& attribute : attributes) {
        const float* first = attribute.source->data() + index * attribute.components;
        (mesh.*attribute.target).insert((mesh.*attribute.target).end(), first, first + attribute.components);
      }
    }
    mesh.indices.push_back(entry->second);
  }
  return mesh;
}

}  // namespace voidskirmish::scene
