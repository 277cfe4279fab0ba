#include "game/HelpText.h"

#include <sstream>

namespace voidskirmish::game {

std::string helpText(const scene::RenderSettings& settings) {
  std::ostringstream text;
  text << "\n"
       << "HELP:\n"
       << "----- Controls -----------\n"
       << "SHIP1\n"
       << "\tW: move forward\n"
       << "\tA: rotate left\n"
       << "\tS: move back\n"
       << "\tD: rotate right\n"
       << "\tF: rotate up\n"
       << "\tT: rotate down\n"
       << "\tSPACE: laser gun\n"
       << "SHIP2\n"
       << "\tUP: move forward\n"
       << "\tLEFT: rotate left\n"
       << "\tDOWN: move back\n"
       << "\tRIGHT: rotate right\n"
       << "\tKP 8: rotate down\n"
       << "\tKP 4: rotate up\n"
       << "\tKP 0: laser gun\n"
       << "----- Debug controls -----\n"
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
