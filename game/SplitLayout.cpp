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

}  // namespace voidskirmish::game
