#pragma once

#include "AssetPaths.h"

namespace voidskirmish::tools {

// The hull atlas: painted panels with seams, paint stripes, canopy glass, engine glow.
void writeShipTexture(const AssetPaths& paths);

}  // namespace voidskirmish::tools
