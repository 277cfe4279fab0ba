#pragma once

#include "AssetPaths.h"

namespace voidskirmish::tools {

// The ship's hull: fuselage, canopy, swept wings, engine nacelles and tail fins, textured from the
// hull atlas. About 3 units long, 2.4 wide and 0.8 high in the ship's frame.
void writeShipHull(const AssetPaths& paths);

// The laser gun: a strut under the hull and a barrel along -Z one unit below the ship's origin.
void writeShipGun(const AssetPaths& paths);

}  // namespace voidskirmish::tools
