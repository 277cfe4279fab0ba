#pragma once

#include <memory>
#include <optional>
#include <ostream>

#include "game/Play.h"
#include "input/Recording.h"

namespace voidskirmish::app {

// A recording played without a window or GL, as fast as the machine allows, printing what the windowed replay
// prints: the help, every frame's lines (the culling line counted without drawing) and the hashes of
// --net-check. F12 saves nothing. Recorded sizes still lay the window out: a zero size is a minimised window,
// which draws no half, so in a local match its out-of-bounds rules wait as they do on screen.
//
// With a sync test of N frames, every frame is first saved, advanced N frames silently, restored and advanced
// the same N frames again, and the two results must agree bit for bit.
class HeadlessReplay {
 public:
  HeadlessReplay(const input::Recording& recording, bool netCheck, std::optional<int> syncFrames);

  // The process's exit code: 0, or 1 when the sync test found a difference (named on standard output).
  int run();

 private:
  // One recorded frame's rules; true when it holds ESC, which ends the replay after it.
  bool advance(const input::RecordedFrame& frame);
  // False, with the line that says where, when the frame's two re-runs differ.
  bool syncTest(std::size_t frame);

  const input::Recording& recording;
  const bool netCheck;
  const std::optional<int> syncFrames;
  std::ostream console;
  std::unique_ptr<game::Play> play;
  bool minimised = false;
  game::Play::Snapshot start, first, second;
};

}  // namespace voidskirmish::app
