#include "input/EventText.h"

#include <GLFW/glfw3.h>

#include <stdexcept>

#include "input/Tokens.h"

namespace voidskirmish::input {
namespace {

const char* pressWord(bool pressed) { return pressed ? "press" : "release"; }

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
};

BodyLine parseWords(const Tokens& tokens) {
  const std::string_view kind = tokens.word(0);
  if (kind == "frame") {
    tokens.expectCount(2);
    return FrameEnd{tokens.realFloat(1, 0.0f, MAX_FRAME_DELTA, "frame delta")};
  }
  if (kind == "key") {
    tokens.expectCount(3);
    return Event{KeyEvent{tokens.integer(2, GLFW_KEY_SPACE, GLFW_KEY_LAST, "key code"), readPress(tokens)}};
  }
  if (kind == "button") {
    tokens.expectCount(3);
    return Event{ButtonEvent{tokens.integer(2, 0, GLFW_MOUSE_BUTTON_LAST, "mouse button"), readPress(tokens)}};
  }
  if (kind == "cursor") {
    tokens.expectCount(3);
    return Event{CursorEvent{tokens.real(1, -MAX_CURSOR_COORDINATE, MAX_CURSOR_COORDINATE, "cursor x"),
                             tokens.real(2, -MAX_CURSOR_COORDINATE, MAX_CURSOR_COORDINATE, "cursor y")}};
  }
  if (kind == "size") {
    tokens.expectCount(3);
    return Event{SizeEvent{tokens.integer(1, 1, MAX_WINDOW_SIDE, "window width"),
                           tokens.integer(2, 1, MAX_WINDOW_SIDE, "window height")}};
  }
  throw std::runtime_error("unknown record '" + std::string(kind) + "'");
}

}  // namespace

std::string formatEvent(const Event& event) { return std::visit(Printer{}, event); }

std::string formatFrameEnd(const FrameEnd& frame) { return "frame " + shortestText(frame.delta); }

bool parseBodyLine(std::string_view line, BodyLine& parsed, std::string& error) {
  try {
    if (line.size() > MAX_LINE_LENGTH) {
      throw std::runtime_error("line longer than " + std::to_string(MAX_LINE_LENGTH) + " characters");
    }
    if (line.empty() || line.front() == '#') {
      parsed = std::monostate{};
      return true;
    }
    parsed = parseWords(Tokens(line));
    return true;
  } catch (const std::runtime_error& failure) {
    error = failure.what();
    return false;
  }
}

}  // namespace voidskirmish::input
