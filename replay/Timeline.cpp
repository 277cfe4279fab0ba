#include "replay/Timeline.h"

#include <algorithm>
#include <cstdio>

#include "input/Event.h"

namespace voidskirmish::replay {
namespace {

std::string minutes(double seconds) {
  const long whole = static_cast<long>(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

Timeline::Timeline(const input::Recording& recording) {
  double seconds = 0.0;
  for (const input::RecordedFrame& frame : recording.frames) {
    seconds += frame.delta;
    ends.push_back(seconds);
    if (std::any_of(frame.events.begin(), frame.events.end(), input::isEscapePress)) {
      break;
    }
  }
}

std::size_t Timeline::frameAt(double seconds) const {
  const auto found = std::lower_bound(ends.begin(), ends.end(), seconds);
  const std::size_t frame = static_cast<std::size_t>(found - ends.begin()) + 1;
  return std::clamp<std::size_t>(frame, 1, std::max<std::size_t>(frames(), 1));
}

std::string Timeline::clock(std::size_t frame) const {
  return minutes(secondsAt(frame)) + " / " + minutes(secondsAt(frames()));
}

}  // namespace voidskirmish::replay
