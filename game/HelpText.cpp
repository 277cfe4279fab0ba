#include "game/HelpText.h"

#include <sstream>

#include "input/KeyNames.h"

namespace voidskirmish::game {
namespace {

// A ship's keys in the help's order, which lists the lower ship's nose down before its nose up.
void shipLines(std::ostream& text, const input::PlayerKeys& keys, bool downFirst) {
  const auto line = [&text](int key, const char* what) {
    text << "\t" << input::shownKeyName(key) << ": " << what << "\n";
  };
  line(keys.forward, "move forward");
  line(keys.left, "rotate left");
  line(keys.backward, "move back");
  line(keys.right, "rotate right");
  if (downFirst) {
    line(keys.down, "rotate down");
  }
  line(keys.up, "rotate up");
  if (!downFirst) {
    line(keys.down, "rotate down");
  }
  line(keys.fire, "laser gun");
}

}  // namespace

std::string helpText(const scene::RenderSettings& settings, const std::array<input::PlayerKeys, 2>& keys) {
  std::ostringstream text;
  text << "\n"
       << "HELP:\n"
       << "----- Controls -----------\n"
       << "SHIP1\n";
  shipLines(text, keys[0], false);
  text << "SHIP2\n";
  shipLines(text, keys[1], true);
  text << "----- Debug controls -----\n"
       << "P: move top ship with mouse\n"
       << "ENTER: set all ships' lifes to max\n"
       << "----- Toggle effects -----\n"
       << "1: Bloom\n"
       << "2: Contours\n"
       << "3: Normal mapping\n"
       << "4: Particles\n"
       << "5: Cel shading\n"
       << "----- Functions ----------\n"
       << "F1: Help\n"
       << "F2: Frame time on/off | Current: " << scene::onOff(settings.frameTime) << "\n"
       << "F3: Wire frame on/off | Current: " << scene::onOff(settings.wireframe) << "\n"
       << "F4: Texture sampling quality (nearest neighbor/bilinear) | Current: "
       << scene::samplingModeName(settings.samplingMode) << "\n"
       << "F5: Mip mapping quality (off/nearestneighbor/linear) | Current: " << scene::mipmapModeName(settings.mipmapMode)
       << "\n"
       << "F8: View frustum culling on/off | Current: " << scene::onOff(settings.frustumCulling) << "\n"
       << "F9: Blending on/off | Current: " << scene::onOff(settings.blending) << "\n"
       << "F10: Life points outside of boundary sphere on/off | Current: " << scene::onOff(settings.lifePointsChanges)
       << "\n"
       << "\n";
  return text.str();
}

}  // namespace voidskirmish::game
