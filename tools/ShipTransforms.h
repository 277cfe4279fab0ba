#pragma once

#include <glm/mat4x4.hpp>

namespace voidskirmish::tools {

// The transforms the game bakes into the hull's and the gun's vertices when it loads them. The parts
// are designed in the ship's frame (nose along -Z, +Y up) and written through their inverses.
glm::dmat4 hullVertexTransform();
glm::dmat4 gunVertexTransform();

}  // namespace voidskirmish::tools
