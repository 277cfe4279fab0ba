#pragma once

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace voidskirmish::game::collision {

// A ray from start through end and beyond.
struct Line {
  glm::vec3 start{0.0f};
  glm::vec3 end{0.0f};
};

// The nearest point where the ray enters the sphere (xyz centre, w radius) strictly ahead of start; NaN in every
// coordinate when there is none (a miss, a sphere behind the start, or a start inside the sphere).
glm::vec3 intersectSphere(glm::vec4 sphere, const Line& line);

// Whether a point returned by the ray tests is a hit (neither NaN nor infinite).
bool isHit(glm::vec3 point);

// Two spheres overlap when their centres are strictly closer than the sum of their radii.
bool spheresOverlap(glm::vec4 a, glm::vec4 b);

}  // namespace voidskirmish::game::collision
