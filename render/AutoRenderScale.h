#pragma once

#include <optional>

namespace voidskirmish::render {

// --render-scale auto: keeps the frame within a time budget by moving the render scale between 0.25 and 1 in
// steps of 0.05, at most once a second, from the frames' mean time over that second. It steps down while the
// mean is over the budget and up only when the frame would stay within it even if all of its time grew with
// the pixel count (which it does not), so it does not swing back and forth.
class AutoRenderScale {
 public:
  struct Change {
    float scale;
    bool settled;  // held for a second after moving (or from the start)
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

  double budget;
  int percent = LARGEST;
  bool started = false;
  bool moved = true;      // since it last settled; the start counts as a move
  bool skipNext = false;  // the frame after a move rebuilds the targets: not a fair sample
  double last = 0.0;
  double windowStart = 0.0;
  double sum = 0.0;
  int frames = 0;
};

}  // namespace voidskirmish::render
