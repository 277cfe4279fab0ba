#pragma once

#include <cstddef>

#include "app/FrameSource.h"
#include "input/Recording.h"

namespace voidskirmish::app {

class Shell;

// A recording played back at its own pace until its end, a recorded ESC, or a live ESC or close. Recorded sizes
// are given to the real window too, so pictures have the recorded size.
class ReplayFrames : public FrameSource {
 public:
  ReplayFrames(Shell& shell, const input::Recording& recording);

  std::optional<SourcedFrame> next() override;
  // Waits out the frame's recorded time, still polling the window.
  bool shown() override;
  // Prints how many frames were played.
  int finish() override;

 private:
  Shell& shell;
  const input::Recording& recording;
  std::size_t played = 0;
  double due;
  bool escape = false;
};

}  // namespace voidskirmish::app
