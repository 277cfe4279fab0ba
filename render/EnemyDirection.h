#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace voidskirmish::render {

// Where the other ship lies for the viewer of one half: on screen, or the side its arrow points to.
enum class EnemyDirection { OnScreen, Left, Above, Right, Below };

// Half the vertical field of view is 22.5 taken as radians (about 58.3 degrees of full view, not 45).
constexpr float HALF_FIELD_OF_VIEW = 22.5f;

// tan(22.5) = 0.5578517.
float tanHalfFieldOfView();

// The perspective projection both halves use (right-handed, clip depth −1 to 1).
glm::mat4 halfProjection(float tanHalfFov, float aspect, float near, float far);

// Classifies the enemy for the arrow. An enemy behind the own ship counts as below even when its projection
// lands on the screen; the 1.5 margin lets an enemy just past the edge still count as on screen. One between the
// ship and its chase camera (behind the camera plane) is never on screen and keeps the side it really lies on.
EnemyDirection classifyEnemy(const glm::mat4& view, const glm::mat4& projection, glm::vec3 enemyPosition,
                             glm::vec3 ownPosition, glm::vec3 forward);

}  // namespace voidskirmish::render
