#include "render/OverlayMath.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/trigonometric.hpp>

#include <initializer_list>
#include <utility>

namespace voidskirmish::render {
namespace {

constexpr glm::vec3 SCREEN_NORMAL(0.0f, 0.0f, 1.0f);
constexpr float FULL_LIFE = 10.0f;
constexpr float ARROW_HEIGHT_DIVISOR = 1.7f;

// The arrow points up unturned; these angles turn it toward each side.
constexpr float LEFT_ANGLE = 1.5707964f;
constexpr float ABOVE_ANGLE = 0.0f;
constexpr float RIGHT_ANGLE = 4.712389f;
constexpr float BELOW_ANGLE = 3.1415927f;

}  // namespace

glm::mat4 barOver(float left, float right, float bottom, float top) {
  // The life bar spans 0.3 by 0.1 around (0, -0.8).
  const glm::mat4 centred = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.8f, 0.0f));
  const glm::mat4 stretched =
      glm::scale(glm::mat4(1.0f), glm::vec3((right - left) / 0.3f, (top - bottom) / 0.1f, 1.0f));
  return glm::translate(glm::mat4(1.0f), glm::vec3((left + right) / 2.0f, (bottom + top) / 2.0f, 0.0f)) * stretched *
         centred;
}

glm::mat4 lifeBarModel(float lifePoints) {
  return glm::scale(glm::mat4(1.0f), glm::vec3(lifePoints / FULL_LIFE, 1.0f, 1.0f));
}

glm::mat4 crosshairModel(int k, int width, int height) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float halfHeight = static_cast<float>(height / 2);
  const glm::mat4 scale = glm::scale(glm::mat4(1.0f), glm::vec3(halfHeight / w, w / h, 1.0f));
  return scale * glm::rotate(glm::mat4(1.0f), glm::radians(static_cast<float>(k) * 90.0f), SCREEN_NORMAL);
}

glm::mat4 directionArrowModel(bool left, bool above, bool right, bool below, int width, int height) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const glm::mat4 scale = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f * h / w, w / h, 1.0f));
  const glm::mat4 shift = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -(h / ARROW_HEIGHT_DIVISOR) / w, 0.0f));

  glm::mat4 model(1.0f);
  for (const auto& [flag, angle] : {std::pair{left, LEFT_ANGLE}, std::pair{above, ABOVE_ANGLE},
                                    std::pair{right, RIGHT_ANGLE}, std::pair{below, BELOW_ANGLE}}) {
    if (flag) {
      model = scale * shift * glm::rotate(model, angle, SCREEN_NORMAL);
    }
  }
  return model;
}

}  // namespace voidskirmish::render
