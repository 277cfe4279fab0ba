#include "app/LiveFrames.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "app/Shell.h"
#include "game/Delivery.h"

namespace voidskirmish::app {

// Read after set-up, so the first frame's delta does not count the loading time.
LiveFrames::LiveFrames(Shell& shell, input::RecordingWriter* recorder, replay::LastSeconds* last)
    : shell(shell), recorder(recorder), last(last), gamepads(shell.padButtons()), previousTime(glfwGetTime()) {}

std::optional<SourcedFrame> LiveFrames::next() {
  if (ended || shell.windowClosed()) {
    return std::nullopt;
  }
  if (last != nullptr) {
    last->offer(shell.game().play());
  }
  const double now = glfwGetTime();
  const auto delta = static_cast<float>(std::min(now - previousTime, Shell::LONGEST_RULES_DELTA));
  previousTime = now;
  std::vector<input::Event>& events = shell.liveInput().poll();
  gamepads.poll(events);
  if (bot::Computers* computers = shell.computers()) {
    computers->dropPersonalInput(events);
    computers->decide(shell.game().match(), delta, events);
  }
  // A tap that is over within one frame still counts, as does a key held since an earlier frame.
  ended = shell.escapeHeld() || std::any_of(events.begin(), events.end(), input::isEscapePress);
  for (const input::Event& event : events) {
    game::deliver(event, shell.game());
  }
  shell.steerWithCursor(events);
  const std::optional<input::ScaleLine> scale = shell.adjustRenderScale();
  if (recorder != nullptr) {
    recorder->writeFrame(events, delta, scale);
  }
  if (last != nullptr) {
    last->add(events, delta, scale);
  }
  // The frame in which ESC is seen is still shown.
  return SourcedFrame{&events, delta, ended, false, std::nullopt};
}

}  // namespace voidskirmish::app
