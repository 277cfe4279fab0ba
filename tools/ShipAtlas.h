#pragma once

#include "MeshBuilder.h"

namespace voidskirmish::tools {

// The hull's texture is an atlas: each part of the ship maps its own square of texture coordinates
// into one of these regions, and the painter fills each region with that part's panels and paint.
inline constexpr const char* shipTextureFile = "ship_hull.jpg";

inline const UvRect hullArea{{0.0, 0.0}, {1.0, 0.5}};         // u along the fuselage, v around it
inline const UvRect wingArea{{0.0, 0.5}, {0.5, 1.0}};         // u root to tip, v leading to trailing edge
inline const UvRect nacelleArea{{0.5, 0.5}, {1.0, 0.75}};     // u front to back, v around
inline const UvRect finArea{{0.5, 0.75}, {0.75, 1.0}};        // u front to back, v root to tip
inline const UvRect canopyArea{{0.75, 0.75}, {1.0, 0.875}};   // u front to back, v around
inline const UvRect nozzleArea{{0.75, 0.875}, {0.875, 1.0}};  // a disc, centre in the middle
inline const UvRect intakeArea{{0.875, 0.875}, {1.0, 1.0}};   // a disc, centre in the middle

}  // namespace voidskirmish::tools
