#pragma once

#include <variant>

#include "input/Event.h"
#include "input/Keys.h"

namespace voidskirmish::game {

// Hands one event to `target` (the window's game state, or a play without a window) through the operation live
// input uses.
template <typename Target>
void deliver(const input::Event& event, Target& target) {
  struct Deliverer {
    Target& target;

    void operator()(const input::KeyEvent& e) const {
      if (e.pressed) {
        target.keyPressed(e.key);
      } else {
        target.keyReleased(e.key);
      }
    }
    void operator()(const input::CursorEvent& e) const { target.cursorMoved(e.x, e.y); }
    void operator()(const input::ButtonEvent& e) const {
      target.mouseButton(e.button, e.pressed ? input::keys::PRESS : input::keys::RELEASE);
    }
    void operator()(const input::SizeEvent& e) const { target.resize(e.width, e.height); }
    void operator()(const input::PadLinkEvent& e) const { target.padLinked(e.ship, e.connected, e.name.text()); }
    void operator()(const input::PadControlEvent& e) const { target.padControl(e.ship, e.control, e.value); }
    void operator()(const input::SteerEvent& e) const { target.steer(e.ship, e.dx, e.dy); }
    void operator()(const input::ComputerEvent& e) const { target.computerTakes(e.ship, e.level); }
  };
  std::visit(Deliverer{target}, event);
}

}  // namespace voidskirmish::game
