#include "app/ReplayFrames.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/Hush.h"
#include "app/Shell.h"
#include "game/Delivery.h"
#include "game/Play.h"
#include "input/Keys.h"

namespace voidskirmish::app {
namespace {

namespace keys = input::keys;

}  // namespace

ReplayFrames::ReplayFrames(Shell& shell, const input::Recording& recording,
                           const std::optional<replay::Seeker::Position>& start, std::size_t fromFrame, double speed)
    : shell(shell),
      recording(recording),
      start(start),
      fromFrame(fromFrame),
      timeline(recording),
      playback(timeline, std::cout, replay::Playback::speedStep(speed).value_or(2)),
      due(glfwGetTime()) {}

ReplayFrames::~ReplayFrames() = default;

std::optional<SourcedFrame> ReplayFrames::next() {
  if (!seeker) {
    if (start) {
      shell.game().play().restore(start->play);
    }
    seeker = std::make_unique<replay::Seeker>(recording, timeline, shell.game().play(), replay::Seeker::SPACING_SECONDS,
                                              replay::Seeker::MEMORY_BOUND, start && start->minimised);
    if (fromFrame > 1 || start) {
      seek(fromFrame - 1);  // at the start too: the window takes the snapshot's size
    }
  }
  hear(shell.liveInput().poll());
  for (;;) {
    if (shell.windowClosed()) {
      return std::nullopt;
    }
    if (const std::optional<std::size_t> frame = playback.takeJump()) {
      seek(*frame - 1);
      break;
    }
    const bool atEnd = played == timeline.frames();
    if (escape || (atEnd && !playback.touched())) {
      if (atEnd) {
        return std::nullopt;
      }
      break;
    }
    if (atEnd) {
      playback.pauseAtEnd(played);
    } else if (!playback.paused() || playback.takeStep()) {
      break;
    }
    shell.silence();
    hear(shell.liveInput().wait(0.1));  // paused: the picture stands until a key moves it
    due = glfwGetTime();
  }
  // The state every straight replay passes here, as long as no toggle of the watcher's is in it.
  if (toggles.empty()) {
    seeker->offer(played, shell.game().play(), minimised);
  }
  const input::RecordedFrame& frame = recording.frames[played];
  for (const input::Event& event : frame.events) {
    if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
      minimised = size->width <= 0 || size->height <= 0;
      shell.resizeWindow(size->width, size->height);
    }
    game::deliver(event, shell.game());
  }
  recordedEscape = std::any_of(frame.events.begin(), frame.events.end(), input::isEscapePress);
  if (frame.scale) {
    shell.useRenderScale(*frame.scale);
  }
  ++played;
  showBar();
  const std::vector<input::Event>* events = &frame.events;
  if (std::exchange(liveShot, false)) {
    withLiveShot = frame.events;
    withLiveShot.push_back(input::KeyEvent{keys::F12, true});
    events = &withLiveShot;
  }
  // A hand-edited recording gets no longer steps than live play would hand the rules.
  return SourcedFrame{events, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)), false, false,
                      std::nullopt};
}

bool ReplayFrames::shown() {
  // Paced to the recorded deltas; a frame that took longer than recorded is not made up for.
  due = std::max(due + recording.frames[played - 1].delta / playback.speed(), glfwGetTime());
  for (double now = glfwGetTime(); now < due && !escape && !shell.windowClosed(); now = glfwGetTime()) {
    if (playback.paused() || playback.jumping()) {
      break;
    }
    hear(shell.liveInput().wait(due - now));
  }
  return !escape && !shell.windowClosed() && !(recordedEscape && !playback.touched());
}

int ReplayFrames::finish() {
  std::cout << "Replay finished after " << played << " frames" << std::endl;
  return 0;
}

void ReplayFrames::hear(const std::vector<input::Event>& live) {
  escape = escape || shell.escapeHeld();
  for (const input::Event& event : live) {
    const auto* key = std::get_if<input::KeyEvent>(&event);
    if (key == nullptr || !key->pressed) {
      continue;
    }
    if (key->key == keys::ESCAPE) {
      escape = true;
    } else if (playback.keyPressed(key->key, played)) {
      continue;
    } else if (keys::isWatcherToggle(key->key)) {
      toggles.push_back(key->key);
      shell.game().keyPressed(key->key);
    } else if (key->key == keys::F12) {
      liveShot = true;
    } else if (key->key == keys::F11) {
      barHidden = !barHidden;
    }
  }
}

// Only a watched replay has the bar: the pictures of one whose keys are never touched stay as they were.
void ReplayFrames::showBar() {
  if (!playback.touched() || barHidden) {
    shell.game().showReplayBar(std::nullopt);
    return;
  }
  std::ostringstream text;
  text << timeline.clock(played) << "  x" << playback.speed();
  const float share = static_cast<float>(played) / static_cast<float>(timeline.frames());
  shell.game().showReplayBar(std::pair(share, text.str()));
}

void ReplayFrames::seek(std::size_t frames) {
  const replay::Seeker::Position& there = seeker->after(frames);
  game::RunningGameState& game = shell.game();
  game.play().restore(there.play);
  const int width = there.play.width;
  const int height = there.play.height;
  if (there.minimised) {
    game.resize(0, 0);
  } else if (minimised || width != game.width || height != game.height) {
    shell.resizeWindow(width, height);
    game.resize(width, height);
  }
  minimised = there.minimised;
  {
    const Hush hush;  // said when they were pressed
    for (int key : toggles) {
      game.keyPressed(key);
    }
  }
  played = frames;
  due = glfwGetTime();
}

}  // namespace voidskirmish::app
