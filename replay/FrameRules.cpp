#include "replay/FrameRules.h"

#include <algorithm>
#include <variant>

#include "game/Delivery.h"
#include "game/SplitLayout.h"
#include "render/EnemyDirection.h"
#include "render/HalfCulling.h"

namespace voidskirmish::replay {

bool FrameRules::advance(const input::RecordedFrame& frame) {
  bool escape = false;
  for (const input::Event& event : frame.events) {
    escape = escape || input::isEscapePress(event);
    deliver(event);
  }
  run(frame.delta, frame.scale);
  return escape;
}

void FrameRules::deliver(const input::Event& event) {
  if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
    // As the window's game state does: a minimised window keeps its last layout.
    minimised = size->width <= 0 || size->height <= 0;
    if (minimised) {
      return;
    }
  }
  game::deliver(event, play);
}

void FrameRules::update(float delta, const std::optional<input::ScaleLine>& scale) {
  if (scale) {
    play.settings.renderScale = scale->scale;
  }
  play.update(std::min(delta, static_cast<float>(LONGEST_DELTA)));
}

void FrameRules::finish() {
  applyHalfRules();
  play.endFrame();
}

// Where the windowed game applies the out-of-bounds rules and prints the culling line: a local match in the
// scene pass of each drawn half, the upper half's line after its rules; a network match once a frame for both
// ships, drawn or not, after the one view it draws.
void FrameRules::applyHalfRules() {
  const bool halvesDrawn = !networkPlayer && !minimised;
  std::optional<unsigned int> culled;
  if (play.settings.frustumCulling && !minimised && networkPlayer.value_or(0) == 0) {
    const game::SplitLayout layout = networkPlayer ? game::SplitLayout::forView(play.width, play.height, 0)
                                                   : game::SplitLayout::forWindow(play.width, play.height);
    culled = render::culledInHalf(
        play.match, 0, render::halfFrustum(play.match, 0, render::tanHalfFieldOfView(), layout.aspectRatio));
  }
  if (halvesDrawn) {
    play.applyBoundaryRules(0);
  }
  if (culled) {
    console << "Objects culled for ship1 (top): " << *culled << " / " << 2 + play.match.asteroids->asteroidCount
            << std::endl;
  }
  if (halvesDrawn || networkPlayer) {
    if (networkPlayer) {
      play.applyBoundaryRules(0);
    }
    play.applyBoundaryRules(1);
  }
}

}  // namespace voidskirmish::replay
