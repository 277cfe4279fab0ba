#include "app/PadReader.h"

#include <algorithm>
#include <cmath>

#include "input/Tokens.h"

namespace voidskirmish::app {

using input::KeyEvent;
using input::PadControl;
using input::PadControlEvent;
using input::PadLinkEvent;
using input::printable;
namespace {

// The turn a stick gives: nothing inside the dead zone (nor for a reading that is not a number), beyond it the
// stick's own deflection, so half a deflection turns half as hard as the key; never more than the key.
float turn(float stick) {
  if (!(std::fabs(stick) > PadReader::DEAD_ZONE)) {
    return 0.0f;
  }
  return std::clamp(stick, -1.0f, 1.0f);
}

// A trigger's axis runs from -1 (let go) to 1 (pulled all the way); the gap between pressing and releasing
// keeps a trigger resting near one threshold from chattering.
bool triggerHeld(float axis, bool wasHeld) {
  const float pull = (axis + 1.0f) / 2.0f;
  return wasHeld ? pull > PadReader::TRIGGER_RELEASE : pull > PadReader::TRIGGER_PRESS;
}

bool pressed(const GLFWgamepadstate& state, int button) { return state.buttons[button] == GLFW_PRESS; }

}  // namespace

void PadReader::look(int pad, const GLFWgamepadstate* state, const char* name, std::vector<Event>& events) {
  if (state == nullptr) {
    disconnect(pad, events);
    return;
  }
  if (shipOfPad[pad] == NO_PAD) {
    connect(pad, name, events);
  }
  if (shipOfPad[pad] >= 0) {
    read(shipOfPad[pad], *state, events);
  }
}

void PadReader::connect(int pad, const char* name, std::vector<Event>& events) {
  int ship = 0;
  while (ship < 2 && std::count(shipOfPad.begin(), shipOfPad.end(), ship) > 0) {
    ++ship;
  }
  const PadName shown = recordableName(name);
  if (ship == 2) {
    shipOfPad[pad] = NOT_USED;
    out << "Gamepad not used, both ships have one: " << shown.text() << std::endl;
    return;
  }
  shipOfPad[pad] = ship;
  held[ship] = Held{};
  events.push_back(PadLinkEvent{ship, true, shown});
}

void PadReader::disconnect(int pad, std::vector<Event>& events) {
  const int ship = shipOfPad[pad];
  shipOfPad[pad] = NO_PAD;
  if (ship < 0) {
    return;
  }
  // The game lets go of the ship's thrust and turns when its pad goes; that Start was ENTER only this side knows.
  if (held[ship].start) {
    events.push_back(KeyEvent{GLFW_KEY_ENTER, false});
  }
  events.push_back(PadLinkEvent{ship, false, {}});
}

void PadReader::read(int ship, const GLFWgamepadstate& state, std::vector<Event>& events) {
  Held& was = held[ship];
  Held now;
  now.rightTrigger = triggerHeld(state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER], was.rightTrigger);
  now.leftTrigger = triggerHeld(state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER], was.leftTrigger);
  const input::PadButtons& bound = buttons[static_cast<std::size_t>(ship)];
  const bool forward = now.rightTrigger || pressed(state, bound.forward);
  const bool backward = now.leftTrigger || pressed(state, bound.backward);
  now.controls[static_cast<int>(PadControl::Thrust)] = static_cast<float>(forward) - backward;
  // Stick left turns left; stick pulled back (positive y) raises the nose, as a plane's stick does.
  now.controls[static_cast<int>(PadControl::Yaw)] = turn(-state.axes[GLFW_GAMEPAD_AXIS_LEFT_X]);
  now.controls[static_cast<int>(PadControl::Pitch)] = turn(state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y]);
  now.controls[static_cast<int>(PadControl::Fire)] =
      pressed(state, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER) || pressed(state, bound.fire);
  now.start = pressed(state, GLFW_GAMEPAD_BUTTON_START);

  for (std::size_t control = 0; control < now.controls.size(); ++control) {
    if (now.controls[control] != was.controls[control]) {
      events.push_back(PadControlEvent{ship, static_cast<PadControl>(control), now.controls[control]});
    }
  }
  if (now.start != was.start) {
    events.push_back(KeyEvent{GLFW_KEY_ENTER, now.start});
  }
  was = now;
}

PadName recordableName(const char* name) {
  std::string shown = name == nullptr ? "" : name;
  for (char& c : shown) {
    if (!printable(std::string_view(&c, 1))) {
      c = '?';
    }
  }
  return PadName(shown.empty() ? "Gamepad" : shown);
}

}  // namespace voidskirmish::app
