#include "game/SplitLayout.h"

namespace voidskirmish::game {

SplitLayout SplitLayout::forWindow(int width, int height) {
  const int halfHeight = height >> 1;
  const int halfWidth = width >> 1;
  SplitLayout layout;
  layout.viewports[0] = {0, halfHeight, width, halfHeight};
  layout.viewports[1] = {0, 0, width, halfHeight};
  layout.aspectRatio = static_cast<float>(width) / static_cast<float>(halfHeight);
  layout.centreX = halfWidth;
  layout.centreY = halfHeight;
  return layout;
}

SplitLayout SplitLayout::forView(int width, int height, int player) {
  SplitLayout layout;
  layout.viewports[player] = {0, 0, width, height};
  layout.aspectRatio = static_cast<float>(width) / static_cast<float>(height);
  layout.centreX = width >> 1;
  layout.centreY = height >> 1;
  return layout;
}

}  // namespace voidskirmish::game
