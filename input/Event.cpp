#include "input/Event.h"

#include "input/Keys.h"

namespace voidskirmish::input {

bool operator==(const KeyEvent& a, const KeyEvent& b) { return a.key == b.key && a.pressed == b.pressed; }

bool operator==(const CursorEvent& a, const CursorEvent& b) { return a.x == b.x && a.y == b.y; }

bool operator==(const ButtonEvent& a, const ButtonEvent& b) {
  return a.button == b.button && a.pressed == b.pressed;
}

bool operator==(const SizeEvent& a, const SizeEvent& b) { return a.width == b.width && a.height == b.height; }

bool operator==(const PadLinkEvent& a, const PadLinkEvent& b) {
  return a.ship == b.ship && a.connected == b.connected && a.name.text() == b.name.text();
}

bool operator==(const PadControlEvent& a, const PadControlEvent& b) {
  return a.ship == b.ship && a.control == b.control && a.value == b.value;
}

bool operator==(const SteerEvent& a, const SteerEvent& b) {
  return a.ship == b.ship && a.dx == b.dx && a.dy == b.dy;
}

bool operator==(const ComputerEvent& a, const ComputerEvent& b) { return a.ship == b.ship && a.level == b.level; }

bool isEscapePress(const Event& event) {
  const KeyEvent* key = std::get_if<KeyEvent>(&event);
  return key != nullptr && key->pressed && key->key == keys::ESCAPE;
}

}  // namespace voidskirmish::input
