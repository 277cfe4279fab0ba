#include "game/PadControls.h"

#include "input/EventText.h"

namespace voidskirmish::game {
namespace {

using objects::Spaceship;

// The ship's fields one pad axis drives, in PadControl's order.
struct Axis {
  bool Spaceship::*positive;
  bool Spaceship::*negative;
  float Spaceship::*acceleration;
  float Spaceship::*magnitude;
};

const std::array<Axis, 3> padAxes{{
    {&Spaceship::thrustForward, &Spaceship::thrustBackward, &Spaceship::thrust, &Spaceship::thrustAcceleration},
    {&Spaceship::yawLeft, &Spaceship::yawRight, &Spaceship::yawAcceleration, &Spaceship::turnAcceleration},
    {&Spaceship::pitchUp, &Spaceship::pitchDown, &Spaceship::pitchAcceleration, &Spaceship::turnAcceleration},
}};

// One axis as a pad holds it: a push towards a direction holds that direction as its key would, with the key's
// acceleration scaled by the push; back at zero, only the direction the pad held is let go.
void hold(Spaceship& ship, const Axis& axis, float value, float& held) {
  if (value > 0.0f) {
    ship.*axis.positive = true;
    ship.*axis.negative = false;
  } else if (value < 0.0f) {
    ship.*axis.negative = true;
    ship.*axis.positive = false;
  } else if (held > 0.0f) {
    ship.*axis.positive = false;
  } else if (held < 0.0f) {
    ship.*axis.negative = false;
  }
  if (value != 0.0f) {
    ship.*axis.acceleration = value * ship.*axis.magnitude;
  }
  held = value;
}

}  // namespace

const char* const PadControls::BINDINGS =
    "\tleft stick: rotate (pull back: nose up, push forward: nose down)\n"
    "\tright trigger or A: move forward\n"
    "\tleft trigger or B: move back\n"
    "\tright bumper or X: laser gun\n"
    "\tSTART: ENTER\n";

PadControls::PadControls(Match& match, const scene::RenderSettings& settings, std::ostream& out)
    : match(match), settings(settings), out(out) {}

void PadControls::linked(int ship, bool connected, std::string_view name) {
  for (const PadControl axis : {PadControl::Thrust, PadControl::Yaw, PadControl::Pitch}) {
    control(ship, axis, 0.0f);
  }
  pads[ship].connected = connected;
  if (connected) {
    out << "Gamepad connected for ship" << ship + 1 << ": " << name << '\n' << BINDINGS << std::flush;
  } else {
    out << "Gamepad disconnected from ship" << ship + 1 << std::endl;
  }
}

void PadControls::computerTakes(int ship, input::ComputerLevel level) {
  pads[ship].connected = true;
  pads[ship].computer = level;
  out << "ship" << ship + 1 << (ship == 0 ? " (top)" : " (bottom)") << " is flown by the computer ("
      << input::levelWord(level) << ")" << std::endl;
}

void PadControls::control(int ship, PadControl control, float value) {
  Pad& pad = pads[ship];
  if (!pad.connected) {
    return;  // a ship without a pad is flown by its keys alone
  }
  if (match.paused && value != 0.0f) {
    return;  // a paused match takes no flight or fire, but lets go of what was held
  }
  Spaceship& own = match.ship(ship);
  if (control == PadControl::Fire) {
    if (value > 0.0f) {
      match.fire(&own, &match.enemyOf(ship), settings);
    }
    return;
  }
  const auto index = static_cast<std::size_t>(control);
  hold(own, padAxes[index], value, pad.axes[index]);
}

}  // namespace voidskirmish::game
