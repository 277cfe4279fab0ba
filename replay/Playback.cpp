#include "replay/Playback.h"

#include <algorithm>

#include "input/Keys.h"

namespace voidskirmish::replay {
namespace keys = input::keys;

std::optional<std::size_t> Playback::speedStep(double speed) {
  const auto found = std::find(SPEEDS.begin(), SPEEDS.end(), speed);
  if (found == SPEEDS.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - SPEEDS.begin());
}

bool Playback::keyPressed(int key, std::size_t shown) {
  const double now = timeline.secondsAt(shown);
  // A jump back from the end of a frame lands on the frame that ends that much earlier.
  const auto back = [&](double seconds) { return now - seconds <= 0.0 ? 1 : timeline.frameAt(now - seconds); };
  switch (key) {
    case keys::SPACE:
      paused_ = !paused_;
      say(paused_ ? "Replay paused at frame " : "Replay resumed at frame ", shown);
      break;
    case keys::RIGHT: jumpTo(timeline.frameAt(now + SHORT_JUMP_SECONDS)); break;
    case keys::LEFT: jumpTo(back(SHORT_JUMP_SECONDS)); break;
    case keys::PAGE_UP: jumpTo(timeline.frameAt(now + LONG_JUMP_SECONDS)); break;
    case keys::PAGE_DOWN: jumpTo(back(LONG_JUMP_SECONDS)); break;
    case keys::HOME: jumpTo(1); break;
    case keys::END: jumpTo(timeline.frames()); break;
    case keys::UP:
    case keys::DOWN:
      speedIndex = key == keys::UP ? std::min(speedIndex + 1, SPEEDS.size() - 1) : speedIndex - (speedIndex > 0);
      console << "Replay speed x" << speed() << std::endl;
      break;
    case keys::PERIOD:
      if (paused_ && shown < timeline.frames()) {
        step = true;
        say("Replay at frame ", shown + 1);
      }
      break;
    default: return false;
  }
  touched_ = true;
  return true;
}

void Playback::pauseAtEnd(std::size_t shown) {
  if (!paused_) {
    paused_ = true;
    say("Replay paused at frame ", shown);
  }
}

void Playback::jumpTo(std::size_t frame) {
  if (timeline.frames() == 0) {
    return;  // a recording without frames has nowhere to go
  }
  jump = frame;
  say("Replay at frame ", frame);
}

void Playback::say(const char* what, std::size_t frame) const {
  console << what << frame << " of " << timeline.frames() << std::endl;
}

}  // namespace voidskirmish::replay
