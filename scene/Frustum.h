#pragma once

#include <glm/vec3.hpp>

#include <array>

namespace voidskirmish::scene {

struct FrustumPlane {
  glm::vec3 normal{0.0f};  // unit length, pointing into the frustum
  glm::vec3 point{0.0f};
  float d = 0.0f;          // −(normal · point); signed distance of p is normal · p + d

  void setFromPoints(glm::vec3 a, glm::vec3 b, glm::vec3 c);
  float distance(glm::vec3 p) const { return normal.x * p.x + normal.y * p.y + normal.z * p.z + d; }
};

// The view volume of the half being drawn, rebuilt for every half; asked by Geometry drawing whether a sphere
// lies entirely outside.
class Frustum {
 public:
  enum Result { Outside = 0, Intersect = 1, Inside = 2 };
  enum PlaneIndex { Top = 0, Bottom, Left, Right, Near, Far };

  void setCameraInternals(float tanHalfFov, float aspect, float near, float far);
  void setCameraPose(glm::vec3 position, glm::vec3 lookAt, glm::vec3 up);
  Result testSphere(glm::vec3 centre, float radius) const;

  std::array<FrustumPlane, 6> planes{};  // top, bottom, left, right, near, far
  glm::vec3 nearTopLeft{0.0f}, nearTopRight{0.0f}, nearBottomLeft{0.0f}, nearBottomRight{0.0f};
  glm::vec3 farTopLeft{0.0f}, farTopRight{0.0f}, farBottomLeft{0.0f}, farBottomRight{0.0f};
  float near = 0.0f, far = 0.0f, aspect = 0.0f, tanHalfFov = 0.0f;
  float nearHalfWidth = 0.0f, nearHalfHeight = 0.0f, farHalfWidth = 0.0f, farHalfHeight = 0.0f;
};

// The one frustum used for culling, and the counters of the culling statistics line.
extern Frustum frustum;
extern unsigned int culledObjectCount;
extern unsigned int totalObjectCount;

}  // namespace voidskirmish::scene
