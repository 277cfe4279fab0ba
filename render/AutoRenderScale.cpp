#include "render/AutoRenderScale.h"

namespace voidskirmish::render {

std::optional<AutoRenderScale::Change> AutoRenderScale::frame(double now) {
  if (!started) {
    started = true;
    last = windowStart = now;
    return Change{scale(), false};
  }
  if (skipNext) {
    skipNext = false;
  } else {
    sum += now - last;
    ++frames;
  }
  last = now;
  if (now - windowStart < DECISION_INTERVAL || frames < 2) {
    return std::nullopt;
  }
  const double mean = sum / frames;
  windowStart = now;
  sum = 0.0;
  frames = 0;
  const double grown = static_cast<double>(percent + STEP) / percent;
  const int before = percent;
  if (mean > budget && percent > SMALLEST) {
    percent -= STEP;
  } else if (percent < LARGEST && mean * grown * grown <= budget) {
    percent += STEP;
  }
  if (percent != before) {
    moved = true;
    skipNext = true;
    return Change{scale(), false};
  }
  if (moved) {
    moved = false;
    return Change{scale(), true};
  }
  return std::nullopt;
}

}  // namespace voidskirmish::render
