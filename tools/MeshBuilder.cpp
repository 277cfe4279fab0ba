#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>

#include <assimp/mesh.h>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

namespace voidskirmish::tools {
namespace {

glm::dvec3 centroid(const MeshBuilder::Ring& ring) {
  glm::dvec3 sum(0.0);
  for (const auto& point : ring) {
    sum += point;
  }
  return sum / static_cast<double>(ring.size());
}

// Normal of a closed polygon by Newell's method: robust for slightly non-planar rings.
glm::dvec3 polygonNormal(const MeshBuilder::Ring& ring) {
  glm::dvec3 normal(0.0);
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const glm::dvec3& a = ring[i];
    const glm::dvec3& b = ring[(i + 1) % ring.size()];
    normal += glm::dvec3((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
  }
  return glm::normalize(normal);
}

// Any unit vector perpendicular to the given one.
glm::dvec3 perpendicular(const glm::dvec3& v) {
  const glm::dvec3 helper = std::abs(v.y) < 0.9 ? glm::dvec3(0, 1, 0) : glm::dvec3(1, 0, 0);
  return glm::normalize(glm::cross(helper, v));
}

// Rounding residue such as cos(pi / 2) is written as a clean zero.
glm::vec3 toFloat(const glm::dvec3& v) {
  const auto clean = [](double x) { return static_cast<float>(std::abs(x) < 1e-9 ? 0.0 : x); };
  return {clean(v.x), clean(v.y), clean(v.z)};
}

}  // namespace

glm::dvec3 sphereDirection(double lon, double lat) {
  return {std::cos(lat) * std::cos(lon), std::sin(lat), -std::cos(lat) * std::sin(lon)};
}

void sphereTangents(const glm::dvec3& direction, glm::dvec3& east, glm::dvec3& north) {
  const glm::dvec3 alongLongitude(direction.z, 0.0, -direction.x);
  east = glm::length(alongLongitude) > 1e-9 ? glm::normalize(alongLongitude) : perpendicular(direction);
  north = glm::cross(direction, east);
}

std::uint32_t MeshBuilder::addVertex(const glm::dvec3& position, const glm::dvec3& normal, const glm::dvec2& uv) {
  vertexList.push_back({position, glm::normalize(normal), uv});
  return static_cast<std::uint32_t>(vertexList.size() - 1);
}

void MeshBuilder::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  const MeshVertex &va = vertexList[a], &vb = vertexList[b], &vc = vertexList[c];
  const glm::dvec3 face = glm::cross(vb.position - va.position, vc.position - va.position);
  const bool facesAway = glm::dot(face, va.normal + vb.normal + vc.normal) < 0.0;
  indexList.insert(indexList.end(), {a, facesAway ? c : b, facesAway ? b : c});
}

void MeshBuilder::addLoft(const std::vector<Ring>& rings, const std::vector<double>& ringU, const UvRect& uvs,
                          const UvRect& startCapUvs, const UvRect& endCapUvs) {
  const std::size_t rowCount = rings.size(), columnCount = rings.front().size();
  const std::uint32_t first = static_cast<std::uint32_t>(vertexList.size());
  for (std::size_t r = 0; r < rowCount; ++r) {
    const std::size_t before = r == 0 ? 0 : r - 1, after = std::min(r + 1, rowCount - 1);
    const glm::dvec3 centre = centroid(rings[r]);
    for (std::size_t c = 0; c <= columnCount; ++c) {
      const std::size_t column = c % columnCount;
      const Ring& ring = rings[r];
      const glm::dvec3 around = ring[(column + 1) % columnCount] - ring[(column + columnCount - 1) % columnCount];
      const glm::dvec3 along = rings[after][column] - rings[before][column];
      glm::dvec3 normal = glm::cross(around, along);
      if (glm::dot(normal, ring[column] - centre) < 0.0) {
        normal = -normal;
      }
      addVertex(ring[column], normal, uvs.map({ringU[r], static_cast<double>(c) / columnCount}));
    }
  }
  const auto index = [&](std::size_t r, std::size_t c) {
    return first + static_cast<std::uint32_t>(r * (columnCount + 1) + c);
  };
  for (std::size_t r = 0; r + 1 < rowCount; ++r) {
    for (std::size_t c = 0; c < columnCount; ++c) {
      addTriangle(index(r, c), index(r + 1, c), index(r + 1, c + 1));
      addTriangle(index(r, c), index(r + 1, c + 1), index(r, c + 1));
    }
  }
  addCap(rings.front(), centroid(rings.front()) - centroid(rings[1]), startCapUvs);
  addCap(rings.back(), centroid(rings.back()) - centroid(rings[rowCount - 2]), endCapUvs);
}

void MeshBuilder::addCap(const Ring& ring, const glm::dvec3& outward, const UvRect& uvs) {
  glm::dvec3 normal = polygonNormal(ring);
  if (glm::dot(normal, outward) < 0.0) {
    normal = -normal;
  }
  const glm::dvec3 centre = centroid(ring);
  const glm::dvec3 axisA = perpendicular(normal), axisB = glm::cross(normal, axisA);
  double reach = 1e-12;
  for (const auto& point : ring) {
    reach = std::max(reach, glm::length(point - centre));
  }
  const auto uvOf = [&](const glm::dvec3& point) {
    const glm::dvec3 d = (point - centre) / reach;
    return uvs.map(0.5 + 0.5 * glm::dvec2(glm::dot(d, axisA), glm::dot(d, axisB)));
  };
  const std::uint32_t hub = addVertex(centre, normal, uvOf(centre));
  const std::uint32_t first = static_cast<std::uint32_t>(vertexList.size());
  for (const auto& point : ring) {
    addVertex(point, normal, uvOf(point));
  }
  const std::uint32_t count = static_cast<std::uint32_t>(ring.size());
  for (std::uint32_t i = 0; i < count; ++i) {
    addTriangle(hub, first + i, first + (i + 1) % count);
  }
}

void MeshBuilder::addSlab(const std::vector<glm::dvec2>& outline, const glm::dvec3& origin, const glm::dvec3& axisA,
                          const glm::dvec3& axisB, double thickness, const UvRect& uvs) {
  const glm::dvec3 normal = glm::normalize(glm::cross(axisA, axisB));
  glm::dvec2 low = outline.front(), high = outline.front(), middle(0.0);
  for (const auto& corner : outline) {
    low = glm::min(low, corner);
    high = glm::max(high, corner);
    middle += corner / static_cast<double>(outline.size());
  }
  const auto place = [&](const glm::dvec2& corner, double side) {
    return origin + corner.x * axisA + corner.y * axisB + normal * (side * 0.5 * thickness);
  };
  const auto uvOf = [&](const glm::dvec2& corner) { return uvs.map((corner - low) / (high - low)); };
  const std::uint32_t count = static_cast<std::uint32_t>(outline.size());
  for (double side : {1.0, -1.0}) {
    const std::uint32_t first = static_cast<std::uint32_t>(vertexList.size());
    for (const auto& corner : outline) {
      addVertex(place(corner, side), normal * side, uvOf(corner));
    }
    for (std::uint32_t i = 1; i + 1 < count; ++i) {
      addTriangle(first, first + i, first + i + 1);
    }
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const glm::dvec2 &a = outline[i], &b = outline[(i + 1) % count];
    const glm::dvec2 edge = b - a;
    glm::dvec2 out(edge.y, -edge.x);
    if (glm::dot(out, a - middle) < 0.0) {
      out = -out;
    }
    const glm::dvec3 sideNormal = out.x * axisA + out.y * axisB;
    const std::uint32_t first = static_cast<std::uint32_t>(vertexList.size());
    for (const auto& [corner, side] : {std::pair{a, 1.0}, {b, 1.0}, {b, -1.0}, {a, -1.0}}) {
      addVertex(place(corner, side), sideNormal, uvOf(corner));
    }
    addTriangle(first, first + 1, first + 2);
    addTriangle(first, first + 2, first + 3);
  }
}

void MeshBuilder::addSphere(int segments, int rings, const SurfaceFunction& surface) {
  const auto normalAt = [&](const glm::dvec3& direction) {
    constexpr double step = 1e-4;
    glm::dvec3 east, north;
    sphereTangents(direction, east, north);
    const auto at = [&](const glm::dvec3& offset) { return surface(glm::normalize(direction + step * offset)); };
    const glm::dvec3 normal = glm::cross(at(east) - at(-east), at(north) - at(-north));
    return glm::dot(normal, direction) < 0.0 ? -normal : normal;
  };
  const auto vertexAt = [&](double u, double v) {
    const glm::dvec3 direction = sphereDirection(glm::two_pi<double>() * u, glm::pi<double>() * (v - 0.5));
    return addVertex(surface(direction), normalAt(direction), {u, v});
  };
  std::vector<std::uint32_t> row, previous;
  for (int r = 1; r < rings; ++r) {
    row.clear();
    for (int c = 0; c <= segments; ++c) {
      row.push_back(vertexAt(static_cast<double>(c) / segments, static_cast<double>(r) / rings));
    }
    for (int c = 0; c < segments && r > 1; ++c) {
      addTriangle(previous[c], previous[c + 1], row[c + 1]);
      addTriangle(previous[c], row[c + 1], row[c]);
    }
    if (r == 1 || r == rings - 1) {
      // Each triangle at a pole gets its own pole vertex, with the longitude of that triangle's middle.
      const double poleV = r == 1 ? 0.0 : 1.0;
      for (int c = 0; c < segments; ++c) {
        addTriangle(vertexAt((c + 0.5) / segments, poleV), row[c], row[c + 1]);
      }
    }
    std::swap(row, previous);
  }
}

void MeshBuilder::transform(const glm::dmat4& matrix) {
  const glm::dmat3 normalMatrix = glm::transpose(glm::inverse(glm::dmat3(matrix)));
  for (auto& vertex : vertexList) {
    vertex.position = glm::dvec3(matrix * glm::dvec4(vertex.position, 1.0));
    vertex.normal = glm::normalize(normalMatrix * vertex.normal);
  }
  if (glm::determinant(glm::dmat3(matrix)) < 0.0) {
    for (std::size_t i = 0; i < indexList.size(); i += 3) {
      std::swap(indexList[i + 1], indexList[i + 2]);
    }
  }
}

void MeshBuilder::append(const MeshBuilder& other) {
  const std::uint32_t offset = static_cast<std::uint32_t>(vertexList.size());
  vertexList.insert(vertexList.end(), other.vertexList.begin(), other.vertexList.end());
  for (std::uint32_t index : other.indexList) {
    indexList.push_back(index + offset);
  }
}

std::unique_ptr<aiMesh> MeshBuilder::toAiMesh(bool withUvs, unsigned materialIndex) const {
  auto mesh = std::make_unique<aiMesh>();
  mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  mesh->mMaterialIndex = materialIndex;
  mesh->mNumVertices = static_cast<unsigned>(vertexList.size());
  mesh->mVertices = new aiVector3D[mesh->mNumVertices];
  mesh->mNormals = new aiVector3D[mesh->mNumVertices];
  if (withUvs) {
    mesh->mTextureCoords[0] = new aiVector3D[mesh->mNumVertices];
    mesh->mNumUVComponents[0] = 2;
  }
  for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
    const MeshVertex& vertex = vertexList[i];
    const glm::vec3 p = toFloat(vertex.position), n = toFloat(vertex.normal);
    mesh->mVertices[i] = aiVector3D(p.x, p.y, p.z);
    mesh->mNormals[i] = aiVector3D(n.x, n.y, n.z);
    if (withUvs) {
      mesh->mTextureCoords[0][i] = aiVector3D(static_cast<float>(vertex.uv.x), static_cast<float>(vertex.uv.y), 0.0f);
    }
  }
  mesh->mNumFaces = static_cast<unsigned>(indexList.size() / 3);
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    aiFace& face = mesh->mFaces[f];
    face.mNumIndices = 3;
    face.mIndices = new unsigned[3]{indexList[3 * f], indexList[3 * f + 1], indexList[3 * f + 2]};
  }
  return mesh;
}

}  // namespace voidskirmish::tools
