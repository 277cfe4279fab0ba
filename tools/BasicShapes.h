#pragma once

#include "AssetPaths.h"

namespace voidskirmish::tools {

// The arena's warning sphere: radius 1 around the origin, so its extent is exactly 2 on every axis.
void writeBoundarySphere(const AssetPaths& paths);

// The laser beam: a closed cylinder of radius 1 from z = -1 to z = 1.
void writeCylinder(const AssetPaths& paths);

}  // namespace voidskirmish::tools
