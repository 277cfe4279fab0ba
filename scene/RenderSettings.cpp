#include "scene/RenderSettings.h"

namespace voidskirmish::scene {

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
