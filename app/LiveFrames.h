#pragma once

#include "app/FrameSource.h"
#include "app/Gamepads.h"
#include "input/RecordingWriter.h"
#include "replay/LastSeconds.h"

namespace voidskirmish::app {

class Shell;

// Live play: the window's and the pads' events of each frame, the cursor while it steers, the time since the
// last frame (at most Shell::LONGEST_RULES_DELTA), every frame written to `recorder` and kept by `last` when
// there are.
class LiveFrames : public FrameSource {
 public:
  LiveFrames(Shell& shell, input::RecordingWriter* recorder, replay::LastSeconds* last);

  std::optional<SourcedFrame> next() override;

 private:
  Shell& shell;
  input::RecordingWriter* recorder;
  replay::LastSeconds* last;
  Gamepads gamepads;
  double previousTime;
  bool ended = false;
};

}  // namespace voidskirmish::app
