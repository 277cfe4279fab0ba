#include "render/HalfCulling.h"

namespace voidskirmish::render {
namespace {

bool outside(const scene::Frustum& frustum, const glm::vec4& sphere) {
  return frustum.testSphere(glm::vec3(sphere), sphere.w) == scene::Frustum::Outside;
}

}  // namespace

scene::Frustum halfFrustum(const game::Match& match, int player, float tanHalfFov, float aspectRatio) {
  const scene::Camera& camera = *match.ship(player).camera;
  const glm::mat4& pose = camera.modelMatrix;
  const glm::vec3 position(pose * glm::vec4(0, 0, 0, 1));
  const glm::vec3 forward(pose * glm::vec4(0, 0, -1, 0));
  const glm::vec3 up(pose * glm::vec4(0, 1, 0, 0));
  scene::Frustum frustum;
  frustum.setCameraInternals(tanHalfFov, aspectRatio, camera.nearPlane, camera.farPlane);
  frustum.setCameraPose(position, position + forward, up);
  return frustum;
}

unsigned int culledInHalf(const game::Match& match, int player, const scene::Frustum& frustum) {
  unsigned int culled = outside(frustum, match.ship(1 - player).boundingSphere) ? 2 : 0;
  const game::objects::Asteroid& asteroids = *match.asteroids;
  for (std::size_t i = 0; i < asteroids.sphereCount(); ++i) {
    culled += outside(frustum, asteroids.asteroidSpheres[i]);
  }
  if (match.outsideBoundary[player]) {
    culled += outside(frustum, match.boundarySphere->boundingSphere);
  }
  return culled;
}

}  // namespace voidskirmish::render
