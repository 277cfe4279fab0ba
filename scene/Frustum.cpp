#include "scene/Frustum.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace voidskirmish::scene {

Frustum frustum;
unsigned int culledObjectCount = 0;
unsigned int totalObjectCount = 0;

void FrustumPlane::setFromPoints(glm::vec3 a, glm::vec3 b, glm::vec3 c) {
  const glm::vec3 n = glm::cross(c - b, a - b);
  normal = n * (1.0f / std::sqrt(glm::dot(n, n)));
  point = b;
  d = -glm::dot(normal, point);
}

void Frustum::setCameraInternals(float tanHalfFovValue, float aspectValue, float nearValue, float farValue) {
  tanHalfFov = tanHalfFovValue;
  aspect = aspectValue;
  near = nearValue;
  far = farValue;
  nearHalfHeight = near * tanHalfFov;
  nearHalfWidth = nearHalfHeight * aspect;
  farHalfHeight = far * tanHalfFov;
  farHalfWidth = farHalfHeight * aspect;
}

void Frustum::setCameraPose(glm::vec3 position, glm::vec3 lookAt, glm::vec3 up) {
  // Camera axes: Z points backwards (the camera looks along −Z), X to the right, Y up.
  const glm::vec3 z = glm::normalize(position - lookAt);
  const glm::vec3 x = glm::normalize(glm::cross(up, z));
  const glm::vec3 y = glm::cross(z, x);

  const glm::vec3 nearCentre = position - z * near;
  const glm::vec3 farCentre = position - z * far;

  nearTopLeft = nearCentre + y * nearHalfHeight - x * nearHalfWidth;
  nearTopRight = nearCentre + y * nearHalfHeight + x * nearHalfWidth;
  nearBottomLeft = nearCentre - y * nearHalfHeight - x * nearHalfWidth;
  nearBottomRight = nearCentre - y * nearHalfHeight + x * nearHalfWidth;
  farTopLeft = farCentre + y * farHalfHeight - x * farHalfWidth;
  farTopRight = farCentre + y * farHalfHeight + x * farHalfWidth;
  farBottomLeft = farCentre - y * farHalfHeight - x * farHalfWidth;
  farBottomRight = farCentre - y * farHalfHeight + x * farHalfWidth;

  // Each triple runs so that the plane's normal points into the volume.
  planes[Top].setFromPoints(nearTopRight, nearTopLeft, farTopLeft);
  planes[Bottom].setFromPoints(nearBottomLeft, nearBottomRight, farBottomRight);
  planes[Left].setFromPoints(nearTopLeft, nearBottomLeft, farBottomLeft);
  planes[Right].setFromPoints(nearBottomRight, nearTopRight, farBottomRight);
  planes[Near].setFromPoints(nearTopLeft, nearTopRight, nearBottomRight);
  planes[Far].setFromPoints(farTopRight, farTopLeft, farBottomLeft);
}

Frustum::Result Frustum::testSphere(glm::vec3 centre, float radius) const {
  Result result = Inside;
  for (const FrustumPlane& plane : planes) {
    const float dist = plane.distance(centre);
    if (dist < -radius) {
      return Outside;  // wholly behind one plane: no need to look at the rest
    }
    if (dist < radius) {
      result = Intersect;
    }
  }
  return result;
}

}  // namespace voidskirmish::scene
