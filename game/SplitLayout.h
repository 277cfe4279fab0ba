#pragma once

#include <array>

namespace voidskirmish::game {

struct Viewport {
  int x = 0, y = 0, width = 0, height = 0;  // window pixels, origin bottom left
};

// How the window is shared: player 0 (ship1) on the upper half, player 1 (ship2) on the lower half. With an odd
// height the top pixel row belongs to neither. In a network match one player's view fills the window alone.
struct SplitLayout {
  std::array<Viewport, 2> viewports{};
  float aspectRatio = 1.0f;  // width ÷ viewport height
  int centreX = 0, centreY = 0;  // where mouse steering puts the cursor back

  static SplitLayout forWindow(int width, int height);
  // The whole window for `player`; the other player's viewport is empty.
  static SplitLayout forView(int width, int height, int player);

  bool shows(int player) const { return viewports[player].width > 0; }
};

}  // namespace voidskirmish::game
