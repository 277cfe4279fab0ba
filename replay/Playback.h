#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <ostream>

#include "replay/Timeline.h"

namespace voidskirmish::replay {

// The watcher's hold on a replay: pause, speed and where to go, changed by keys that never reach the match.
// Each change says so in one console line; a replay whose keys are never touched prints nothing of it.
class Playback {
 public:
  static constexpr std::array<double, 6> SPEEDS{0.25, 0.5, 1.0, 2.0, 4.0, 8.0};
  static constexpr double SHORT_JUMP_SECONDS = 10.0;
  static constexpr double LONG_JUMP_SECONDS = 60.0;

  // The speed step of `speed`, or nothing when it is none of SPEEDS.
  static std::optional<std::size_t> speedStep(double speed);

  Playback(const Timeline& timeline, std::ostream& console, std::size_t speedIndex)
      : timeline(timeline), console(console), speedIndex(speedIndex) {}

  // True when `key` is one of the replay's; `shown` is the frame on screen (0 before the first).
  bool keyPressed(int key, std::size_t shown);
  // Paused at the end once watched: says so once.
  void pauseAtEnd(std::size_t shown);

  // The frame to be shown next instead of the following one, once: set by a jump.
  std::optional<std::size_t> takeJump() { return std::exchange(jump, std::nullopt); }
  // While paused, true once after '.' asked for the next frame.
  bool takeStep() { return std::exchange(step, false); }
  bool jumping() const { return jump.has_value(); }

  bool paused() const { return paused_; }
  double speed() const { return SPEEDS[speedIndex]; }
  // A replay key has been pressed.
  bool touched() const { return touched_; }

 private:
  void jumpTo(std::size_t frame);
  void say(const char* what, std::size_t frame) const;

  const Timeline& timeline;
  std::ostream& console;
  std::size_t speedIndex;
  bool paused_ = false;
  bool touched_ = false;
  bool step = false;
  std::optional<std::size_t> jump;
};

}  // namespace voidskirmish::replay
