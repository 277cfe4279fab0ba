#include "app/ReplayFrames.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>

#include "app/Shell.h"
#include "game/Delivery.h"

namespace voidskirmish::app {

ReplayFrames::ReplayFrames(Shell& shell, const input::Recording& recording)
    : shell(shell), recording(recording), due(glfwGetTime()) {}

std::optional<SourcedFrame> ReplayFrames::next() {
  if (played == recording.frames.size() || shell.windowClosed()) {
    return std::nullopt;
  }
  const input::RecordedFrame& frame = recording.frames[played];
  // Live input only ends a replay.
  const std::vector<input::Event>& live = shell.liveInput().poll();
  escape = shell.escapeHeld() || std::any_of(live.begin(), live.end(), input::isEscapePress);
  for (const input::Event& event : frame.events) {
    if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
      shell.resizeWindow(size->width, size->height);
    }
    game::deliver(event, shell.game());
  }
  escape = escape || std::any_of(frame.events.begin(), frame.events.end(), input::isEscapePress);
  if (frame.scale) {
    shell.useRenderScale(*frame.scale);
  }
  ++played;
  // A hand-edited recording gets no longer steps than live play would hand the rules.
  return SourcedFrame{&frame.events, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)), false};
}

bool ReplayFrames::shown() {
  // Paced to the recorded deltas; a frame that took longer than recorded is not made up for.
  due = std::max(due + recording.frames[played - 1].delta, glfwGetTime());
  return shell.waitUntil(due) && !escape;
}

int ReplayFrames::finish() {
  std::cout << "Replay finished after " << played << " frames" << std::endl;
  return 0;
}

}  // namespace voidskirmish::app
