#include "input/EventText.h"

#include <array>
#include <stdexcept>

#include "input/Keys.h"
#include "input/Tokens.h"

namespace voidskirmish::input {
namespace {

const char* pressWord(bool pressed) { return pressed ? "press" : "release"; }

// In the order of PadControl.
constexpr std::array<std::string_view, 4> PAD_CONTROL_WORDS{"thrust", "yaw", "pitch", "fire"};
constexpr std::string_view PAD_CONNECT = " connect ";
// In the order of ComputerLevel.
constexpr std::array<std::string_view, 3> LEVEL_WORDS{"easy", "normal", "hard"};

std::string shipWord(int ship) { return "ship" + std::to_string(ship + 1); }

bool readPress(const Tokens& tokens) {
  const std::string_view word = tokens.word(1);
  if (word == "press") {
    return true;
  }
  if (word == "release") {
    return false;
  }
  throw std::runtime_error("expected press or release, found '" + std::string(word) + "'");
}

struct Printer {
  std::string operator()(const KeyEvent& e) const {
    return std::string("key ") + pressWord(e.pressed) + " " + std::to_string(e.key);
  }
  std::string operator()(const CursorEvent& e) const {
    return "cursor " + shortestText(e.x) + " " + shortestText(e.y);
  }
  std::string operator()(const ButtonEvent& e) const {
    return std::string("button ") + pressWord(e.pressed) + " " + std::to_string(e.button);
  }
  std::string operator()(const SizeEvent& e) const {
    return "size " + std::to_string(e.width) + " " + std::to_string(e.height);
  }
  std::string operator()(const PadLinkEvent& e) const {
    return "pad " + shipWord(e.ship) + (e.connected ? std::string(PAD_CONNECT) + std::string(e.name.text()) : " disconnect");
  }
  std::string operator()(const SteerEvent& e) const {
    return "steer " + shipWord(e.ship) + " " + shortestText(e.dx) + " " + shortestText(e.dy);
  }
  std::string operator()(const ComputerEvent& e) const {
    return "computer " + shipWord(e.ship) + " " + std::string(levelWord(e.level));
  }
  std::string operator()(const PadControlEvent& e) const {
    return "pad " + shipWord(e.ship) + " " + std::string(PAD_CONTROL_WORDS[static_cast<int>(e.control)]) + " " +
           shortestText(e.value);
  }
};

// A pad's name ends its line and may hold spaces, so it is cut off before the rest is split into words.
std::string_view cutPadName(std::string_view& line) {
  const std::size_t connect = line.find(PAD_CONNECT);
  if (line.substr(0, 4) != "pad " || connect == std::string_view::npos) {
    return {};
  }
  const std::string_view name = line.substr(connect + PAD_CONNECT.size());
  line = line.substr(0, connect + PAD_CONNECT.size() - 1);
  return name;
}

PadName checkedPadName(std::string_view name) {
  if (name.empty()) {
    throw std::runtime_error("missing pad name");
  }
  if (name.size() > MAX_PAD_NAME_LENGTH || !printable(name)) {
    throw std::runtime_error("pad name is not up to " + std::to_string(MAX_PAD_NAME_LENGTH) +
                             " printable characters");
  }
  return PadName(name);
}

int readShip(const Tokens& tokens) {
  const std::string_view ship = tokens.word(1);
  if (ship != "ship1" && ship != "ship2") {
    throw std::runtime_error("expected ship1 or ship2, found '" + std::string(ship) + "'");
  }
  return ship == "ship1" ? 0 : 1;
}

Event parsePad(const Tokens& tokens, std::string_view name) {
  const int player = readShip(tokens);
  const std::string_view action = tokens.word(2);
  if (action == "connect" || action == "disconnect") {
    tokens.expectCount(3);
    return PadLinkEvent{player, action == "connect", action == "connect" ? checkedPadName(name) : PadName()};
  }
  tokens.expectCount(4);
  for (std::size_t control = 0; control < PAD_CONTROL_WORDS.size(); ++control) {
    if (action != PAD_CONTROL_WORDS[control]) {
      continue;
    }
    const auto padControl = static_cast<PadControl>(control);
    const float value = padControl == PadControl::Fire
                            ? static_cast<float>(tokens.integer(3, 0, 1, "pad fire"))
                            : tokens.realFloat(3, -1.0f, 1.0f, "pad value");
    return PadControlEvent{player, padControl, value};
  }
  throw std::runtime_error("unknown pad control '" + std::string(action) + "'");
}

BodyLine parseWords(const Tokens& tokens, std::string_view padName) {
  const std::string_view kind = tokens.word(0);
  if (kind == "frame") {
    tokens.expectCount(2);
    return FrameEnd{tokens.realFloat(1, 0.0f, MAX_FRAME_DELTA, "frame delta")};
  }
  if (kind == "key") {
    tokens.expectCount(3);
    return Event{KeyEvent{tokens.integer(2, keys::SPACE, keys::LAST, "key code"), readPress(tokens)}};
  }
  if (kind == "button") {
    tokens.expectCount(3);
    return Event{ButtonEvent{tokens.integer(2, 0, keys::MOUSE_LAST, "mouse button"), readPress(tokens)}};
  }
  if (kind == "cursor") {
    tokens.expectCount(3);
    return Event{CursorEvent{tokens.real(1, -MAX_CURSOR_COORDINATE, MAX_CURSOR_COORDINATE, "cursor x"),
                             tokens.real(2, -MAX_CURSOR_COORDINATE, MAX_CURSOR_COORDINATE, "cursor y")}};
  }
  if (kind == "size") {
    tokens.expectCount(3);
    // 0 by 0 is a minimised window, which the game records as it goes; no window is 0 on one side only.
    const int width = tokens.integer(1, 0, MAX_WINDOW_SIDE, "window width");
    const int height = tokens.integer(2, 0, MAX_WINDOW_SIDE, "window height");
    if ((width == 0) != (height == 0)) {
      throw std::runtime_error("window size " + std::to_string(width) + " x " + std::to_string(height) +
                               " is 0 on one side only");
    }
    return Event{SizeEvent{width, height}};
  }
  if (kind == "pad") {
    return parsePad(tokens, padName);
  }
  if (kind == "scale") {
    if (tokens.count() == 3 && tokens.word(2) != "settled") {
      throw std::runtime_error("expected 'scale S' or 'scale S settled'");
    }
    if (tokens.count() != 3) {
      tokens.expectCount(2);
    }
    return ScaleLine{tokens.realFloat(1, SMALLEST_RENDER_SCALE, 1.0f, "render scale"), tokens.count() == 3};
  }
  if (kind == "steer") {
    tokens.expectCount(4);
    const double limit = MAX_CURSOR_COORDINATE;
    return Event{SteerEvent{readShip(tokens), tokens.real(2, -limit, limit, "steer x"),
                            tokens.real(3, -limit, limit, "steer y")}};
  }
  if (kind == "computer") {
    tokens.expectCount(3);
    const std::optional<ComputerLevel> level = levelOfWord(tokens.word(2));
    if (!level) {
      throw std::runtime_error("expected easy, normal or hard, found '" + std::string(tokens.word(2)) + "'");
    }
    return Event{ComputerEvent{readShip(tokens), *level}};
  }
  throw std::runtime_error("unknown record '" + std::string(kind) + "'");
}

}  // namespace

std::string_view levelWord(ComputerLevel level) { return LEVEL_WORDS[static_cast<std::size_t>(level)]; }

std::optional<ComputerLevel> levelOfWord(std::string_view word) {
  for (std::size_t level = 0; level < LEVEL_WORDS.size(); ++level) {
    if (word == LEVEL_WORDS[level]) {
      return static_cast<ComputerLevel>(level);
    }
  }
  return std::nullopt;
}

std::string formatEvent(const Event& event) { return std::visit(Printer{}, event); }

std::string formatFrameEnd(const FrameEnd& frame) { return "frame " + shortestText(frame.delta); }

std::string formatScaleLine(const ScaleLine& scale) {
  return "scale " + shortestText(scale.scale) + (scale.settled ? " settled" : "");
}

bool parseBodyLine(std::string_view line, BodyLine& parsed, std::string& error) {
  try {
    if (line.size() > MAX_LINE_LENGTH) {
      throw std::runtime_error("line longer than " + std::to_string(MAX_LINE_LENGTH) + " characters");
    }
    if (line.empty() || line.front() == '#') {
      parsed = std::monostate{};
      return true;
    }
    const std::string_view padName = cutPadName(line);
    parsed = parseWords(Tokens(line), padName);
    return true;
  } catch (const std::runtime_error& failure) {
    error = failure.what();
    return false;
  }
}

}  // namespace voidskirmish::input
