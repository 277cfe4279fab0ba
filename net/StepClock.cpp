#include "net/StepClock.h"

#include <algorithm>

namespace voidskirmish::net {

int StepClock::due(double now) {
  owed = std::min(owed + std::max(now - last, 0.0), (MOST_STEPS_PER_FRAME + 1) * step);
  last = now;
  const int steps = std::min(static_cast<int>(owed / step), MOST_STEPS_PER_FRAME);
  owed -= steps * step;
  return steps;
}

}  // namespace voidskirmish::net
