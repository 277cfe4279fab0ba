#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string_view>

#include <glm/vec2.hpp>

#include "game/Controls.h"
#include "game/Match.h"
#include "game/MatchSnapshot.h"
#include "game/PadControls.h"
#include "input/Event.h"
#include "input/Recording.h"
#include "input/ShipKeys.h"
#include "input/StartSwitches.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// How a match starts besides the defaults: the switches a settings file or a recording sets, and the keys the
// help names.
struct PlayStart {
  input::StartSwitches switches;
  std::array<input::PlayerKeys, 2> shownKeys = input::playerKeys;

  // As a recording's header tells it.
  static PlayStart of(const input::RecordingHeader& header) {
    return {header.start, header.bindings.value_or(input::playerKeys)};
  }
};

// One match as it is played, without a window or GL: the match, the settings the toggles change, the keyboard,
// mouse and gamepad controls, and the console all of them print to. A frame of rules is the events delivered
// here, then update, the out-of-bounds rules of the drawn halves and endFrame. The window's game state draws it;
// a headless replay runs it alone.
class Play {
 public:
  // Everything of a play that a later frame depends on.
  struct Snapshot {
    MatchSnapshot match;
    scene::RenderSettings settings;
    Controls::Saved controls{};
    PadControls::Saved pads{};
    bool asteroidNormalMap = true;
    int width = 0, height = 0;

    // The first part that differs, or nullptr.
    const char* firstDifference(const Snapshot& other) const;
  };

  Play(const Match::Programs& programs, std::ostream& console, const PlayStart& start = {});

  void save(Snapshot& snapshot) const;
  void restore(const Snapshot& snapshot);

  void keyPressed(int key) { controls.keyPressed(key); }
  void keyReleased(int key) { controls.keyReleased(key); }
  // Turns the mouse's ship by the cursor's distance from the window's centre; true when it must be put back.
  bool cursorMoved(double x, double y) { return controls.cursorMoved(x, y); }
  void mouseButton(int button, int action) { controls.mouseButton(button, action); }
  // The window's new size: mouse steering's centre.
  void resize(int newWidth, int newHeight);
  void padLinked(int ship, bool connected, std::string_view name) { pads.linked(ship, connected, name); }
  void padControl(int ship, input::PadControl control, float value) { pads.control(ship, control, value); }
  void computerTakes(int ship, input::ComputerLevel level) { pads.computerTakes(ship, level); }
  void steer(int ship, double dx, double dy) { controls.steerByMouse(ship, dx, dy); }
  std::optional<glm::dvec2> steeringCentre() const;

  void update(float deltaTime) { match.update(deltaTime, settings); }
  void applyBoundaryRules(int player) { match.applyBoundaryRules(player, settings); }
  void endFrame() { match.endFrame(); }

  scene::RenderSettings settings;
  Match match;
  Controls controls;
  PadControls pads;
  int width = 0;
  int height = 0;
};

}  // namespace voidskirmish::game
