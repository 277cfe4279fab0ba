#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "input/Event.h"

namespace voidskirmish::input {

// The end of a frame's events: the frame runs with this delta once its events have been handed over.
struct FrameEnd {
  float delta = 0.0f;
};

// The render scale the frame and those after it are drawn at (--render-scale auto); "settled" when the game
// said so in that frame.
struct ScaleLine {
  float scale = 1.0f;
  bool settled = false;
};

// A blank line or a comment ('#') carries nothing.
using BodyLine = std::variant<std::monostate, Event, FrameEnd, ScaleLine>;

// The one text form of events, shared by the recorder and the replay reader: one record a line, e.g.
// "key press 87", "cursor 612 384.5", "button release 0", "size 800 600", "frame 0.0166666675",
// "pad ship1 connect Xbox Controller", "pad ship2 yaw -0.5", "pad ship1 fire 1", "pad ship1 disconnect",
// "steer ship2 -12 5", "computer ship2 hard", "scale 0.55", "scale 0.55 settled".
// Numbers are written in their shortest form that reads back to the same bits.
std::string formatEvent(const Event& event);
std::string formatFrameEnd(const FrameEnd& frame);
std::string formatScaleLine(const ScaleLine& scale);

// "easy", "normal", "hard"; and back, nothing for another word.
std::string_view levelWord(ComputerLevel level);
std::optional<ComputerLevel> levelOfWord(std::string_view word);

// Reads one line (without its line end). On failure returns false and says what is wrong in `error`.
bool parseBodyLine(std::string_view line, BodyLine& parsed, std::string& error);

// Limits a line must keep; anything beyond them is refused rather than fed to the game.
constexpr std::size_t MAX_LINE_LENGTH = 200;
constexpr float MAX_FRAME_DELTA = 10.0f;
constexpr double MAX_CURSOR_COORDINATE = 1.0e6;
constexpr int MAX_WINDOW_SIDE = 16384;
constexpr float SMALLEST_RENDER_SCALE = 0.25f;

}  // namespace voidskirmish::input
