#include "game/StartSwitchValues.h"

namespace voidskirmish::game {
namespace {

using input::Switch;
using Settings = scene::RenderSettings;

// The boolean switches' fields, in Switch's order up to the two modes and again after them.
constexpr std::array<bool Settings::*, 7> FIRST_FLAGS{
    &Settings::bloom,      &Settings::contours,  &Settings::normalMapping, &Settings::particles,
    &Settings::celShading, &Settings::frameTime, &Settings::wireframe};
constexpr std::array<bool Settings::*, 3> LATER_FLAGS{&Settings::frustumCulling, &Settings::blending,
                                                      &Settings::lifePointsChanges};

// Calls visit(switch, field) for every boolean switch but mouse steering.
template <typename Visit>
void eachFlag(Visit visit) {
  for (std::size_t i = 0; i < FIRST_FLAGS.size(); ++i) {
    visit(static_cast<Switch>(i), FIRST_FLAGS[i]);
  }
  for (std::size_t i = 0; i < LATER_FLAGS.size(); ++i) {
    visit(static_cast<Switch>(static_cast<std::size_t>(Switch::FrustumCulling) + i), LATER_FLAGS[i]);
  }
}

}  // namespace

input::StartSwitches switchesOf(const Settings& settings, bool mouseSteering) {
  input::StartSwitches switches;
  eachFlag([&](Switch s, bool Settings::*flag) { switches[s] = settings.*flag ? 1 : 0; });
  switches[Switch::Sampling] = settings.samplingMode;
  switches[Switch::Mipmap] = settings.mipmapMode;
  switches[Switch::MouseSteering] = mouseSteering ? 1 : 0;
  return switches;
}

void applySwitches(const input::StartSwitches& switches, Settings& settings, bool& mouseSteering) {
  eachFlag([&](Switch s, bool Settings::*flag) {
    if (switches[s]) {
      settings.*flag = *switches[s] != 0;
    }
  });
  settings.samplingMode = switches[Switch::Sampling].value_or(settings.samplingMode);
  settings.mipmapMode = switches[Switch::Mipmap].value_or(settings.mipmapMode);
  mouseSteering = switches[Switch::MouseSteering].value_or(mouseSteering ? 1 : 0) != 0;
}

}  // namespace voidskirmish::game
