#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

struct aiMesh;

namespace voidskirmish::tools {

// A region of a texture atlas; parts of a model map their own [0,1]^2 coordinates into it.
struct UvRect {
  glm::dvec2 low{0.0, 0.0};
  glm::dvec2 high{1.0, 1.0};

  glm::dvec2 map(const glm::dvec2& local) const { return low + (high - low) * local; }
};

struct MeshVertex {
  glm::dvec3 position;
  glm::dvec3 normal;
  glm::dvec2 uv;
};

// Collects triangles with per-vertex normals and texture coordinates, built from a few surface kinds
// (lofts, flat slabs, spheres), and hands them to Assimp as one mesh.
class MeshBuilder {
public:
  using Ring = std::vector<glm::dvec3>;
  using SurfaceFunction = std::function<glm::dvec3(const glm::dvec3& direction)>;

  std::uint32_t addVertex(const glm::dvec3& position, const glm::dvec3& normal, const glm::dvec2& uv = {});
  // Winds the triangle so that it faces the way its vertex normals point.
  void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);

  // A smooth tube through closed rings of equal point count. ringU gives each ring's u in the local
  // texture square; v runs once around the rings. Both ends get flat caps with their own texture regions.
  void addLoft(const std::vector<Ring>& rings, const std::vector<double>& ringU, const UvRect& uvs,
               const UvRect& startCapUvs, const UvRect& endCapUvs);

  // A flat plate of the given thickness: a convex outline (corners in order) lying in the plane
  // spanned by axisA and axisB through origin. Faces are flat-shaded; top and bottom share the
  // outline's planar texture mapping.
  void addSlab(const std::vector<glm::dvec2>& outline, const glm::dvec3& origin, const glm::dvec3& axisA,
               const glm::dvec3& axisB, double thickness, const UvRect& uvs);

  // A latitude-longitude sphere whose surface point for each unit direction is given by surface.
  // u follows longitude and v latitude (v = 0 at -Y); normals come from the surface itself.
  void addSphere(int segments, int rings, const SurfaceFunction& surface);

  // Moves everything by the affine transform; normals follow the inverse transpose.
  void transform(const glm::dmat4& matrix);
  void append(const MeshBuilder& other);

  const std::vector<MeshVertex>& vertices() const { return vertexList; }
  std::unique_ptr<aiMesh> toAiMesh(bool withUvs, unsigned materialIndex) const;

private:
  void addCap(const Ring& ring, const glm::dvec3& outward, const UvRect& uvs);

  std::vector<MeshVertex> vertexList;
  std::vector<std::uint32_t> indexList;
};

// Direction of longitude lon and latitude lat, +Y the pole; longitude grows towards -Z from +X.
glm::dvec3 sphereDirection(double lon, double lat);
// Unit vectors along increasing longitude and latitude at a direction (any tangent pair at the poles).
void sphereTangents(const glm::dvec3& direction, glm::dvec3& east, glm::dvec3& north);

}  // namespace voidskirmish::tools
