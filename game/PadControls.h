#pragma once

#include <array>
#include <ostream>
#include <string_view>

#include "game/GameState.h"
#include "game/Match.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// What the gamepads do to a match. A connected pad flies its ship as that ship's keys do: thrust and turns set
// the same flags and signed accelerations, scaled by how far the stick is pushed, and fire shoots once per
// press. A connection is announced with the bindings; a pad that goes lets go of everything it held.
class PadControls {
 public:
  PadControls(Match& match, const scene::RenderSettings& settings, std::ostream& out);

  void linked(int ship, bool connected, std::string_view name);
  void control(int ship, PadControl control, float value);

  static const char* const BINDINGS;

  struct Pad {
    bool connected = false;
    std::array<float, 3> axes{};  // thrust, yaw and pitch as the pad last set them (PadControl's order)
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
