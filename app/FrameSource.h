#pragma once

#include <optional>
#include <vector>

#include "input/Event.h"

namespace voidskirmish::app {

// One frame as a source hands it to the shell's loop: its events, already delivered to the game, and the delta
// the rules advance by.
struct SourcedFrame {
  const std::vector<input::Event>* events = nullptr;  // looked at for F12
  float delta = 0.0f;
  bool last = false;  // the game ends once this frame is shown (ESC was pressed)
  bool drawOnly = false;  // the source ran the rules itself (and heard and checked them): the shell only draws
  // The frame number a screenshot is named after, when not the drawn match's: a network match names it after
  // the confirmed step that took the key, as its replay does.
  std::optional<long> shotNumber;
};

// Where frames come from: the window (live play), a recording (replay) or the network (a match between two
// machines). The shell runs one loop over any of them: the next frame, its rules and drawing, then shown().
class FrameSource {
 public:
  virtual ~FrameSource() = default;

  // The next frame, with its events delivered; nothing when play ends before it.
  virtual std::optional<SourcedFrame> next() = 0;
  // The frame has been drawn and shown; false ends play.
  virtual bool shown() { return true; }
  // After the last frame: the process's exit code.
  virtual int finish() { return 0; }
};

}  // namespace voidskirmish::app
