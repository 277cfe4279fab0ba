#include "input/Delivery.h"

#include <GLFW/glfw3.h>

namespace voidskirmish::input {
namespace {

struct Deliverer {
  game::GameState& state;

  void operator()(const KeyEvent& e) const {
    if (e.pressed) {
      state.keyPressed(e.key);
    } else {
      state.keyReleased(e.key);
    }
  }
  void operator()(const CursorEvent& e) const { state.cursorMoved(e.x, e.y); }
  void operator()(const ButtonEvent& e) const { state.mouseButton(e.button, e.pressed ? GLFW_PRESS : GLFW_RELEASE); }
  void operator()(const SizeEvent& e) const { state.resize(e.width, e.height); }
  void operator()(const PadLinkEvent& e) const { state.padLinked(e.ship, e.connected, e.name.text()); }
  void operator()(const PadControlEvent& e) const { state.padControl(e.ship, e.control, e.value); }
  void operator()(const SteerEvent& e) const { state.steer(e.ship, e.dx, e.dy); }
};

}  // namespace

void deliver(const Event& event, game::GameState& state) { std::visit(Deliverer{state}, event); }

bool isEscapePress(const Event& event) {
  const KeyEvent* key = std::get_if<KeyEvent>(&event);
  return key != nullptr && key->pressed && key->key == GLFW_KEY_ESCAPE;
}

}  // namespace voidskirmish::input
