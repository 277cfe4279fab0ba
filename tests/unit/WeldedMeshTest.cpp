#include <gtest/gtest.h>

#include "scene/WeldedMesh.h"

namespace voidskirmish::scene {
namespace {

// Two triangles of a square as a flattened list, sharing the corners (1, 0) and (0, 1); the last corner
// repeats (0, 0)'s position with another uv, so it must stay a vertex of its own.
const std::vector<float> positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0};
const std::vector<float> uvs = {0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0, 1, 0.5f, 0.5f};
const std::vector<float> normals(21, 1.0f);
const std::vector<std::uint32_t> indices = {0, 1, 2, 3, 4, 5, 6, 1, 2};

TEST(WeldedMeshTest, IdenticalCornersMergeEveryCornerKeepsItsValuesAndMisfitDataStaysAsItIs) {
  const WeldedMesh mesh = weld(positions, normals, normals, normals, uvs, indices);
  EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 1, 3, 2, 4, 1, 2}));
  EXPECT_EQ(mesh.positions, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(mesh.uvs, (std::vector<float>{0, 0, 1, 0, 0, 1, 1, 1, 0.5f, 0.5f}));

  // Data of the wrong shape, or an index past its end, comes back untouched.
  const std::vector<float> shortNormals(20, 1.0f);
  EXPECT_EQ(weld(positions, shortNormals, normals, normals, uvs, indices).indices, indices);
  const std::vector<std::uint32_t> pastTheEnd = {0, 1, 7};
  EXPECT_EQ(weld(positions, normals, normals, normals, uvs, pastTheEnd).indices, pastTheEnd);
}

}  // namespace
}  // namespace voidskirmish::scene
