#include "app/HalfRules.h"

#include "game/SplitLayout.h"
#include "render/EnemyDirection.h"
#include "render/HalfCulling.h"

namespace voidskirmish::app {

void applyHalfRules(game::Play& play, std::optional<int> networkPlayer, bool minimised, std::ostream& console) {
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

}  // namespace voidskirmish::app
