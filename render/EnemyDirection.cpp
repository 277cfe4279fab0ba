#include "render/EnemyDirection.h"

#include <glm/geometric.hpp>

#include <cmath>

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
  const float ndcX = clip.x / clip.w;
  const float ndcY = clip.y / clip.w;
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
  return EnemyDirection::OnScreen;
}

}  // namespace voidskirmish::render
