#include "render/EnemyDirection.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace voidskirmish::render {
namespace {

// Past ±1 the enemy is off the screen's edge; the extra half keeps the arrow from flickering at the border.
constexpr float SCREEN_MARGIN = 1.5f;

}  // namespace

float tanHalfFieldOfView() { return std::tan(HALF_FIELD_OF_VIEW); }

glm::mat4 halfProjection(float tanHalfFov, float aspect, float near, float far) {
  glm::mat4 projection(0.0f);
  projection[0][0] = 1.0f / (aspect * tanHalfFov);
  projection[1][1] = 1.0f / tanHalfFov;
  projection[2][2] = -(far + near) / (far - near);
  projection[2][3] = -1.0f;
  projection[3][2] = -(2.0f * far * near) / (far - near);
  return projection;
}

EnemyDirection classifyEnemy(const glm::mat4& view, const glm::mat4& projection, glm::vec3 enemyPosition,
                             glm::vec3 ownPosition, glm::vec3 forward) {
  const glm::vec4 clip = projection * (view * glm::vec4(enemyPosition, 1.0f));
  // Behind the camera plane w is negative, and dividing by it would mirror the enemy to the other side; by |w|
  // the side stays where the enemy really is, and it grows without bound toward the plane from either side.
  const float depth = std::max(std::abs(clip.w), std::numeric_limits<float>::min());
  const float ndcX = clip.x / depth;
  const float ndcY = clip.y / depth;
  const float ahead = glm::dot(enemyPosition - ownPosition, forward);

  if (ahead < 0.0f) {
    return EnemyDirection::Below;
  }
  if (ndcX > SCREEN_MARGIN) {
    return EnemyDirection::Right;
  }
  if (ndcY > SCREEN_MARGIN) {
    return EnemyDirection::Above;
  }
  if (ndcX < -SCREEN_MARGIN) {
    return EnemyDirection::Left;
  }
  if (ndcY < -SCREEN_MARGIN) {
    return EnemyDirection::Below;
  }
  if (clip.w > 0.0f) {
    return EnemyDirection::OnScreen;
  }
  // Between the ship and its camera: never in sight, so the larger offset in view names the side.
  if (std::abs(ndcX) > std::abs(ndcY)) {
    return ndcX > 0.0f ? EnemyDirection::Right : EnemyDirection::Left;
  }
  return ndcY > 0.0f ? EnemyDirection::Above : EnemyDirection::Below;
}

}  // namespace voidskirmish::render
