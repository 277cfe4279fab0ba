#include "game/Play.h"

#include "game/SplitLayout.h"
#include "game/StartSwitchValues.h"

namespace voidskirmish::game {

Play::Play(const Match::Programs& programs, std::ostream& console, const PlayStart& start)
    : match(programs, console), controls(match, settings, console), pads(match, settings, console) {
  applySwitches(start.switches, settings, controls.mouseSteering);
  // As key 3 does; the model keeps what it loaded with unless the switch is set.
  if (start.switches[input::Switch::NormalMapping]) {
    match.asteroids->hasNormalMap = settings.normalMapping;
  }
  controls.shownKeys = start.shownKeys;
}

void Play::save(Snapshot& snapshot) const {
  match.save(snapshot.match);
  snapshot.settings = settings;
  snapshot.controls = controls.save();
  snapshot.pads = pads.save();
  snapshot.asteroidNormalMap = match.asteroids->hasNormalMap;
  snapshot.width = width;
  snapshot.height = height;
}

void Play::restore(const Snapshot& snapshot) {
  match.restore(snapshot.match);
  settings = snapshot.settings;
  controls.restore(snapshot.controls);
  pads.restore(snapshot.pads);
  match.asteroids->hasNormalMap = snapshot.asteroidNormalMap;
  width = snapshot.width;
  height = snapshot.height;
}

const char* Play::Snapshot::firstDifference(const Snapshot& other) const {
  if (const char* part = match.firstDifference(other.match)) {
    return part;
  }
  const bool samePads = pads == other.pads;
  const std::pair<const char*, bool> parts[] = {
      {"settings", settings == other.settings && asteroidNormalMap == other.asteroidNormalMap},
      {"controls", controls.mouseSteering == other.controls.mouseSteering &&
                       controls.centreX == other.controls.centreX && controls.centreY == other.controls.centreY},
      {"pads", samePads},
      {"window", width == other.width && height == other.height},
  };
  for (const auto& [name, same] : parts) {
    if (!same) {
      return name;
    }
  }
  return nullptr;
}

void Play::resize(int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  const SplitLayout window = SplitLayout::forWindow(width, height);
  controls.setWindowCentre(window.centreX, window.centreY);
}

std::optional<glm::dvec2> Play::steeringCentre() const {
  if (!controls.mouseSteering) {
    return std::nullopt;
  }
  return glm::dvec2(controls.centreX, controls.centreY);
}

}  // namespace voidskirmish::game
