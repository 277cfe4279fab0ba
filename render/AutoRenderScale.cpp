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
  smoothed = smoothed < 0.0 ? mean : 0.5 * (smoothed + mean);
  windowStart = now;
  sum = 0.0;
  frames = 0;
  const double grown = static_cast<double>(percent + STEP) / percent;
  const int before = percent;
  if (smoothed > budget * (1.0 + TOLERANCE) && percent > SMALLEST) {
    percent -= STEP;
  } else if (percent < LARGEST && smoothed * grown * grown <= budget * (1.0 - TOLERANCE)) {
    percent += STEP;
  }
  if (percent != before) {
    holds = 0;
    smoothed = -1.0;
    skipNext = true;
    return Change{scale(), false};
  }
  if (holds < HOLDS_TO_SETTLE && ++holds == HOLDS_TO_SETTLE) {
    return Change{scale(), true};
  }
  return std::nullopt;
}

}  // namespace voidskirmish::render
