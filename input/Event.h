#pragma once

#include <variant>

namespace voidskirmish::input {

// Everything the match acts on arrives as one of these, at a frame boundary, whether it came from the window,
// a recording or (later) another machine. Key and button codes are GLFW's.
struct KeyEvent {
  int key = 0;
  bool pressed = false;
};

struct CursorEvent {
  double x = 0.0;
  double y = 0.0;
};

struct ButtonEvent {
  int button = 0;
  bool pressed = false;
};

struct SizeEvent {
  int width = 0;
  int height = 0;
};

using Event = std::variant<KeyEvent, CursorEvent, ButtonEvent, SizeEvent>;

bool operator==(const KeyEvent& a, const KeyEvent& b);
bool operator==(const CursorEvent& a, const CursorEvent& b);
bool operator==(const ButtonEvent& a, const ButtonEvent& b);
bool operator==(const SizeEvent& a, const SizeEvent& b);

}  // namespace voidskirmish::input
