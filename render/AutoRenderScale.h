#pragma once

#include <optional>

namespace voidskirmish::render {

// --render-scale auto: keeps the frame within a time budget by moving the render scale between 0.25 and 1 in
// steps of 0.05, at most once a second, from the frames' mean time over each second, smoothed over the seconds
// since the last move. It steps down while that is over the budget by more than 5 %, and up only when the frame
// would stay 5 % within it even if all of its time grew with the pixel count (which it does not), so software
// rendering's uneven frames do not swing it back and forth.
class AutoRenderScale {
 public:
  struct Change {
    float scale;
    bool settled;  // held for three seconds after moving (or from the start)
  };

  explicit AutoRenderScale(double budgetSeconds) : budget(budgetSeconds) {}

  // Called once a frame, before it is drawn, with the clock in seconds. The scale to draw at when it moved or
  // settled; on the first call, the starting scale 1.
  std::optional<Change> frame(double now);

  float scale() const { return static_cast<float>(percent) / 100.0f; }

 private:
  static constexpr int STEP = 5;
  static constexpr int SMALLEST = 25;
  static constexpr int LARGEST = 100;
  static constexpr double DECISION_INTERVAL = 1.0;
  static constexpr int HOLDS_TO_SETTLE = 3;
  static constexpr double TOLERANCE = 0.05;

  double budget;
  int percent = LARGEST;
  bool started = false;
  int holds = 0;          // decisions since the last move; the start counts as a move
  double smoothed = -1.0;  // none since the last move
  bool skipNext = false;  // the frame after a move rebuilds the targets: not a fair sample
  double last = 0.0;
  double windowStart = 0.0;
  double sum = 0.0;
  int frames = 0;
};

}  // namespace voidskirmish::render
