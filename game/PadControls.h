#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string_view>

#include "game/GameState.h"
#include "game/Match.h"
#include "input/Event.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// What the gamepads do to a match. A connected pad flies its ship as that ship's keys do: thrust and turns set
// the same flags and signed accelerations, scaled by how far the stick is pushed, and fire shoots once per
// press. A connection is announced with the bindings; a pad that goes lets go of everything it held. The computer
// flies a ship through its pad: it takes the pad once, announced, and sends the pad's controls from then on.
class PadControls {
 public:
  PadControls(Match& match, const scene::RenderSettings& settings, std::ostream& out);

  void linked(int ship, bool connected, std::string_view name);
  void control(int ship, PadControl control, float value);
  void computerTakes(int ship, input::ComputerLevel level);
  // The level of the computer flying the ship, if one does.
  std::optional<input::ComputerLevel> computer(int ship) const { return pads[ship].computer; }

  static const char* const BINDINGS;

  struct Pad {
    bool connected = false;
    std::array<float, 3> axes{};  // thrust, yaw and pitch as the pad last set them (PadControl's order)
    std::optional<input::ComputerLevel> computer;

    bool operator==(const Pad& other) const {
      return connected == other.connected && axes == other.axes && computer == other.computer;
    }
  };
  using Saved = std::array<Pad, 2>;
  Saved save() const { return pads; }
  void restore(const Saved& saved) { pads = saved; }

 private:

  Match& match;
  const scene::RenderSettings& settings;
  std::ostream& out;
  std::array<Pad, 2> pads{};
};

}  // namespace voidskirmish::game
