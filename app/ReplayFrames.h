#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "app/FrameSource.h"
#include "input/Recording.h"
#include "replay/Playback.h"
#include "replay/Seeker.h"
#include "replay/Timeline.h"

namespace voidskirmish::app {

class Shell;

// A recording played back at its own pace until its end, a recorded ESC, or a live ESC or close. Recorded sizes
// are given to the real window too, so pictures have the recorded size.
//
// The watcher's keys never reach the match: the replay's own (see replay::Playback) pause, step, jump and change
// the pace; the toggles (1-5, F2-F10) and F12 act as in live play, and a jump keeps the toggles pressed. Once
// a replay key has been pressed, the end (or a recorded ESC) pauses instead of ending, and a bar at the bottom
// shows where the replay is (F11 hides it).
class ReplayFrames : public FrameSource {
 public:
  // Starts at frame `fromFrame` (the frames before it advanced silently), at `speed` times the recorded pace;
  // from `start` when the recording begins in the middle of a match.
  ReplayFrames(Shell& shell, const input::Recording& recording, const std::optional<replay::Seeker::Position>& start,
               std::size_t fromFrame, double speed);
  ~ReplayFrames() override;

  std::optional<SourcedFrame> next() override;
  // Waits out the frame's recorded time, still hearing the window.
  bool shown() override;
  // Prints how many frames were played.
  int finish() override;

 private:
  // Live keys: ESC ends, the replay's keys go to the playback, toggles to the game.
  void hear(const std::vector<input::Event>& live);
  // Puts the window's match where it is after `frames` frames, the watcher's toggles on it.
  void seek(std::size_t frames);
  void showBar();

  Shell& shell;
  const input::Recording& recording;
  const std::optional<replay::Seeker::Position>& start;
  const std::size_t fromFrame;
  replay::Timeline timeline;
  replay::Playback playback;
  std::unique_ptr<replay::Seeker> seeker;  // made once the game is set up
  std::vector<int> toggles;                // pressed by the watcher, in order
  std::vector<input::Event> withLiveShot;  // a frame's events and a live F12
  std::size_t played = 0;
  double due;
  bool liveShot = false;
  bool barHidden = false;  // F11
  bool escape = false;
  bool recordedEscape = false;
  bool minimised = false;  // as of the recorded sizes
};

}  // namespace voidskirmish::app
