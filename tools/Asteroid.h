#pragma once

#include "AssetPaths.h"

namespace voidskirmish::tools {

// The asteroid model with its diffuse map and matching tangent-space normal map.
void writeAsteroid(const AssetPaths& paths);

}  // namespace voidskirmish::tools
