#pragma once

// Only for GLFWgamepadstate and the names of its buttons and axes: nothing here calls GLFW.
#include <GLFW/glfw3.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "input/Event.h"
#include "input/ShipKeys.h"

namespace voidskirmish::app {

using input::Event;
using input::PadName;

// Turns what the gamepads report, frame by frame, into the game's events. The first pad to arrive takes ship1,
// the next ship2, a later one the ship that has none; a pad beyond two is told it is not used. A connected pad
// flies its ship: left stick turns (x yaw, y pitch: pulled back raises the nose), right trigger or A thrusts
// forward, left trigger or B backward, right bumper or X fires, Start is ENTER; a settings file may give A, B and
// X's actions to other buttons, each ship's pad its own.
class PadReader {
 public:
  explicit PadReader(std::ostream& out, const std::array<input::PadButtons, 2>& buttons = {})
      : out(out), buttons(buttons) {
    shipOfPad.fill(NO_PAD);
  }

  // One frame's look at joystick slot `pad` (0 to GLFW_JOYSTICK_LAST): its state and name while a gamepad is
  // there, nullptr while none is. Appends what changed since the last look to `events`.
  void look(int pad, const GLFWgamepadstate* state, const char* name, std::vector<Event>& events);

  // A stick closer than this to its centre counts as centred; beyond it the turn is the stick's deflection.
  static constexpr float DEAD_ZONE = 0.2f;
  // Shares of a trigger's full pull: pressed beyond the first, released again below the second. An absent
  // trigger reads as half pulled and so never presses.
  static constexpr float TRIGGER_PRESS = 0.6f;
  static constexpr float TRIGGER_RELEASE = 0.4f;

 private:
  // What a pad holds, as the ship sees it.
  struct Held {
    bool rightTrigger = false;
    bool leftTrigger = false;
    std::array<float, 4> controls{};  // by PadControl, with the values of PadControlEvent
    bool start = false;
  };
  static constexpr int NO_PAD = -2;
  static constexpr int NOT_USED = -1;

  void connect(int pad, const char* name, std::vector<Event>& events);
  void disconnect(int pad, std::vector<Event>& events);
  void read(int ship, const GLFWgamepadstate& state, std::vector<Event>& events);

  std::ostream& out;
  const std::array<input::PadButtons, 2> buttons;
  std::array<int, GLFW_JOYSTICK_LAST + 1> shipOfPad{};  // a ship, NOT_USED or NO_PAD
  std::array<Held, 2> held{};
};

// A pad's name as events carry it: printable, at most MAX_PAD_NAME_LENGTH characters, never empty.
PadName recordableName(const char* name);

}  // namespace voidskirmish::app
