#pragma once

#include "AssetPaths.h"

namespace voidskirmish::tools {

// The six skybox faces: stars and a faint nebula computed per view direction, each texel addressed the
// way OpenGL's cube map addresses the face its file is loaded into, so the faces meet without seams.
void writeSkybox(const AssetPaths& paths);

}  // namespace voidskirmish::tools
