#pragma once

#include "game/Match.h"
#include "scene/Frustum.h"

namespace voidskirmish::render {

// The view volume of `player`'s half: its ship's camera with the half's aspect ratio. The scene pass culls
// against it; free of GL, so a replay without a window can count what the pass would skip.
scene::Frustum halfFrustum(const game::Match& match, int player, float tanHalfFov, float aspectRatio);

// How many draws the scene pass skips in `player`'s half with culling on, as its culling line counts them: the
// enemy's hull and gun (by the hull's sphere), each asteroid outside, and the arena's warning while it is drawn.
unsigned int culledInHalf(const game::Match& match, int player, const scene::Frustum& frustum);

}  // namespace voidskirmish::render
