#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "game/Play.h"
#include "input/Recording.h"
#include "input/RecordingWriter.h"
#include "replay/Seeker.h"

namespace voidskirmish::replay {

// The last seconds of a live or network match (--record-last), written at its end as a recording of their own:
// the state of the play at their start, then the frames from there on. Keeps the play's state every spacing()
// recorded seconds and the frames since the newest state that is at least `seconds` old, so what is written
// covers `seconds` to `seconds` + spacing(). Memory: at most seconds / spacing() + 2 states and the frames of
// seconds + spacing().
class LastSeconds {
 public:
  static constexpr int MOST_SECONDS = 1800;
  static constexpr double SPACING_SECONDS = 5.0;
  // Longer spans keep this many states at most within them, spaced further apart.
  static constexpr double MOST_STATES = 10.0;

  explicit LastSeconds(double seconds);

  // Between two frames (before the first, too): keeps the play's state when one is due.
  void offer(const game::Play& play);
  // The next frame as it is recorded.
  void add(const std::vector<input::Event>& events, float delta, const std::optional<input::ScaleLine>& scale);
  // The kept seconds as a recording under `header` (format 2 at least); nothing without a frame.
  void write(input::RecordingWriter& writer, input::RecordingHeader header) const;

  double spacing() const { return spacing_; }
  std::size_t keptStates() const { return states.size(); }
  std::size_t keptFrames() const { return frames.size(); }

 private:
  struct Kept {
    double at = 0.0;        // recorded seconds
    std::size_t frame = 0;  // frames before it since the match began
    Seeker::Position position;
  };

  const double seconds;
  const double spacing_;
  std::deque<Kept> states;
  std::deque<input::RecordedFrame> frames;
  std::size_t dropped = 0;  // frames before the first kept one
  double now = 0.0;
  bool minimised = false;  // as of the sizes recorded
};

}  // namespace voidskirmish::replay
