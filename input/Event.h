#pragma once

#include <algorithm>
#include <array>
#include <string_view>
#include <variant>

namespace voidskirmish::input {

// What a gamepad drives on its ship, once its sticks, triggers and buttons are read.
enum class PadControl { Thrust, Yaw, Pitch, Fire };

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

constexpr std::size_t MAX_PAD_NAME_LENGTH = 64;

// A pad's name, held in place so that an event stays a plain value; longer text is cut to the limit.
class PadName {
 public:
  PadName() = default;
  explicit PadName(std::string_view text) : length(std::min(text.size(), chars.size())) {
    text.copy(chars.data(), length);
  }
  std::string_view text() const { return std::string_view(chars.data(), length); }

 private:
  std::array<char, MAX_PAD_NAME_LENGTH> chars{};
  std::size_t length = 0;
};

// A gamepad taken by a player's ship (connected, with the pad's name) or gone from it. Player 0 is ship1.
struct PadLinkEvent {
  int ship = 0;
  bool connected = false;
  PadName name;  // printable; empty when gone
};

// A change of one control of a ship's gamepad. Thrust, yaw and pitch carry the share of the matching key's
// acceleration, -1 to 1 (positive: forward, turn left, nose up); fire is 1 when pressed and 0 when released.
struct PadControlEvent {
  int ship = 0;
  PadControl control = PadControl::Thrust;
  float value = 0.0f;
};

// How well the computer flies a ship.
enum class ComputerLevel { Easy, Normal, Hard };

// The computer takes a ship for the rest of the game: from then on that ship's pad events are the computer's.
struct ComputerEvent {
  int ship = 0;
  ComputerLevel level = ComputerLevel::Normal;
};

// Mouse steering of a ship in a network match: how far the cursor went from the window's centre in one frame, in
// pixels. A distance, not a position, so that windows of different sizes turn the ship alike.
struct SteerEvent {
  int ship = 0;
  double dx = 0.0;
  double dy = 0.0;
};

using Event =
    std::variant<KeyEvent, CursorEvent, ButtonEvent, SizeEvent, PadLinkEvent, PadControlEvent, SteerEvent,
                 ComputerEvent>;

bool operator==(const KeyEvent& a, const KeyEvent& b);
bool operator==(const CursorEvent& a, const CursorEvent& b);
bool operator==(const ButtonEvent& a, const ButtonEvent& b);
bool operator==(const SizeEvent& a, const SizeEvent& b);
bool operator==(const PadLinkEvent& a, const PadLinkEvent& b);
bool operator==(const PadControlEvent& a, const PadControlEvent& b);
bool operator==(const SteerEvent& a, const SteerEvent& b);
bool operator==(const ComputerEvent& a, const ComputerEvent& b);

// ESC being pressed: the event that ends a game, live or replayed.
bool isEscapePress(const Event& event);

}  // namespace voidskirmish::input
