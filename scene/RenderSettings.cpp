#include "scene/RenderSettings.h"

#include <tuple>

namespace voidskirmish::scene {

bool RenderSettings::operator==(const RenderSettings& other) const {
  const auto fields = [](const RenderSettings& s) {
    return std::tie(s.textures, s.frameTime, s.wireframe, s.blending, s.frustumCulling, s.celShading, s.particles,
                    s.bloom, s.normalMapping, s.contours, s.colorWireframeModeEnabled, s.colorWireframeMode,
                    s.lifePointsChanges, s.mipmapMode, s.samplingMode, s.renderScale, s.fastBloom, s.sound,
                    s.hudShapes);
  };
  return fields(*this) == fields(other);
}

const char* onOff(bool value) { return value ? "on" : "off"; }

const char* samplingModeName(int samplingMode) {
  switch (samplingMode) {
    case 0: return "nearest neighbor";
    case 1: return "billinear";
    default: return "unknown";
  }
}

const char* mipmapModeName(int mipmapMode) {
  switch (mipmapMode) {
    case 0: return "off";
    case 1: return "nearest neighbor";
    case 2: return "linear";
    default: return "unknown";
  }
}

}  // namespace voidskirmish::scene
