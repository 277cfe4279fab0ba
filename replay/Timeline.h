#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "input/Recording.h"

namespace voidskirmish::replay {

// A recording's frames on its own clock: when each frame ends in recorded seconds. Only the frames a replay
// shows count, up to and with the first that holds ESC.
class Timeline {
 public:
  explicit Timeline(const input::Recording& recording);

  // The frames a replay shows.
  std::size_t frames() const { return ends.size(); }
  // Recorded seconds at the end of frame `frame` (1 to frames()); 0 for frame 0, the start.
  double secondsAt(std::size_t frame) const { return frame == 0 ? 0.0 : ends[frame - 1]; }
  // The first frame that ends at or after `seconds`, within 1 to frames().
  std::size_t frameAt(double seconds) const;
  // "01:23 / 04:10" for frame `frame`.
  std::string clock(std::size_t frame) const;

 private:
  std::vector<double> ends;
};

}  // namespace voidskirmish::replay
